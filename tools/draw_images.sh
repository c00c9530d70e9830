#!/usr/bin/env bash
# Redraws every picture under Images/ from the shapes below.
# Needs ImageMagick 6 and icoutils (icotool). Output carries no timestamps,
# so running it again must leave git with nothing to commit.
set -euo pipefail

# Other tools named "convert" may shadow ImageMagick's; always take the system one.
export PATH=/usr/bin:/bin:$PATH
# awk must print decimal points, not a locale's commas, into the drawing commands.
export LC_ALL=C
command -v icotool >/dev/null || { echo "icotool missing: install icoutils" >&2; exit 1; }
[[ $(convert -version 2>/dev/null) == *ImageMagick* ]] || { echo "ImageMagick convert missing" >&2; exit 1; }

OUT=$(cd "$(dirname "$0")/.." && pwd)/Images
mkdir -p "$OUT"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Shapes are drawn SS times larger and box-averaged down: cheap, exact
# antialiasing. Coordinates are pixel edges, so "rectangle 2,2 5,5" covers
# exactly pixels 2..4 of the final image.
SS=8

# No date/time chunks and no comments: identical input gives identical bytes.
PNG_OPTS=(-strip -define png:exclude-chunks=date,time,bKGD)

# draw W H UNIT OUT MVG: canvas of W x H final pixels, MVG drawn with one
# user unit = UNIT final pixels; writes a straight 8-bit RGBA PNG.
draw() {
    local w=$1 h=$2 unit=$3 out=$4 mvg=$5
    local k
    k=$(awk -v u="$unit" -v s="$SS" 'BEGIN { printf "%.6f", u * s }')
    convert -size $((w * SS))x$((h * SS)) xc:none \
        -draw "affine $k,0,0,$k,-0.5,-0.5 $mvg" \
        -filter box -resize "${w}x${h}!" \
        -channel A -level 4%,100% +channel \
        "${PNG_OPTS[@]}" "PNG32:$out"
}

# Thick open strokes come out of this ImageMagick with stray segments, so
# lines and arcs are drawn as filled outlines instead.

# arc CX CY R W FROM TO: band of width W centred on a circle of radius R,
# clockwise on screen from angle FROM to TO (degrees, 0 = right).
arc() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v w="$4" -v a="$5" -v b="$6" 'BEGIN {
        d = atan2(0, -1) / 180; n = 48; printf "polygon"
        for (i = 0; i <= n; i++) {
            t = (a + (b - a) * i / n) * d
            printf " %.3f,%.3f", cx + (r + w / 2) * cos(t), cy + (r + w / 2) * sin(t)
        }
        for (i = n; i >= 0; i--) {
            t = (a + (b - a) * i / n) * d
            printf " %.3f,%.3f", cx + (r - w / 2) * cos(t), cy + (r - w / 2) * sin(t)
        }
        printf " "
    }'
}

# bar X1 Y1 X2 Y2 W: straight segment of width W with square-cut ends.
bar() {
    awk -v x1="$1" -v y1="$2" -v x2="$3" -v y2="$4" -v w="$5" 'BEGIN {
        l = sqrt((x2 - x1) ^ 2 + (y2 - y1) ^ 2)
        nx = -(y2 - y1) / l * w / 2; ny = (x2 - x1) / l * w / 2
        printf "polygon %.3f,%.3f %.3f,%.3f %.3f,%.3f %.3f,%.3f ",
               x1 + nx, y1 + ny, x2 + nx, y2 + ny, x2 - nx, y2 - ny, x1 - nx, y1 - ny
    }'
}

# Glyphs: black on transparent, drawn on the final pixel grid.
glyph() { draw "$1" "$2" 1 "$OUT/$3" "fill black stroke none $4"; }

# ---------------------------------------------------------------- glyphs 14x14

glyph 14 14 Play_C.png       "polygon 4,2 12,7 4,12"
glyph 14 14 Stop_C.png       "rectangle 3,3 11,11"
glyph 14 14 Pause_C.png      "rectangle 3,2 6,12 rectangle 8,2 11,12"
glyph 14 14 Previous_File_C.png "polygon 7,2 1,7 7,12 polygon 13,2 7,7 13,12"
glyph 14 14 Next_File_C.png  "polygon 1,2 7,7 1,12 polygon 7,2 13,7 7,12"

# Folder skips: the bar marks the end of the list.
glyph 11 14 Previous_Folder_C.png "rectangle 1,2 3,12 polygon 10,2 4,7 10,12"
glyph 11 14 Next_Folder_C.png     "polygon 1,2 7,7 1,12 rectangle 8,2 10,12"

# Speaker: box then cone. The bare one fills its narrow 7-pixel canvas; the
# button pictures leave room on the right. "Max" gets the cross and "Min" the
# waves: the names are older than the buttons that now use them.
glyph 7 14 Volume.png "polygon 0.5,5 3,5 6.5,1.5 6.5,12.5 3,9 0.5,9"
SPEAKER="polygon 1,5 3.5,5 7,1.5 7,12.5 3.5,9 1,9"
glyph 14 14 Volume_Max.png "$SPEAKER $(bar 8.6 4.6 13.4 9.4 1.25) $(bar 13.4 4.6 8.6 9.4 1.25)"
glyph 14 14 Volume_Min.png "$SPEAKER $(arc 6 7 3.2 1.3 -50 50) $(arc 6 7 6 1.3 -52 52)"

# Clockwise circular arrow: the arc runs clockwise (ImageMagick angles grow
# clockwise on screen) and the head sits on its end, pointing along the turn.
arrow_head() {   # CX CY R ANGLE: triangle on the circle, aimed clockwise
    awk -v cx="$1" -v cy="$2" -v r="$3" -v a="$4" 'BEGIN {
        t = a * atan2(0, -1) / 180
        ex = cx + r * cos(t); ey = cy + r * sin(t)   # base centre on the arc
        dx = -sin(t); dy = cos(t)                    # direction of travel
        nx = cos(t); ny = sin(t)                     # outward normal
        printf "polygon %.3f,%.3f %.3f,%.3f %.3f,%.3f ",
               ex + 3.2 * dx, ey + 3.2 * dy,
               ex + 2.6 * nx, ey + 2.6 * ny,
               ex - 2.6 * nx, ey - 2.6 * ny
    }'
}
glyph 14 14 Change.png "$(arc 7 7 4.4 1.7 20 272) $(arrow_head 7 7 4.4 270)"

# ----------------------------------------------------------- menu icons 16x16

draw 16 16 1 "$OUT/door.png" "stroke none
    fill #4a2a10 rectangle 2.5,0.5 13.5,16
    fill #a2642c rectangle 3.5,1.5 12.5,16
    fill #7b4519 rectangle 5,3 10.5,7.5 rectangle 5,9 10.5,14
    fill #b97a3e rectangle 5.5,3.5 10.5,7.5 rectangle 5.5,9.5 10.5,14
    fill #f4c430 stroke #8a6410 stroke-width 0.4 circle 11.4,8.5 11.4,9.4"

draw 16 16 1 "$OUT/house.png" "stroke #6e2a14 stroke-width 0.7
    fill #9a4a32 rectangle 10.5,1.8 12.8,6
    fill #f2e2bd stroke #7a6038 rectangle 2.6,7 13.4,15.4
    fill #8a552a stroke #5a3412 rectangle 4.4,10 7.4,15.4
    fill #9fd3ff stroke #45698c rectangle 9,9.6 12,12.6
    fill #d8412f stroke #6e1d12 polygon 8,0.6 15.6,8.2 0.4,8.2"

# Pencil drawn along +x (eraser at -x), then turned so its point faces down-left.
draw 16 16 1 "$OUT/email_edit.png" "
    fill #fbfbf5 stroke #61758a stroke-width 0.8 rectangle 0.6,3.4 13.4,12.4
    stroke none fill #61758a $(bar 1 3.8 7 8.4 0.8) $(bar 7 8.4 13 3.8 0.8)
    push graphic-context translate 11.6,10.6 rotate 135 stroke none
      fill #e98b9c rectangle -5,-1.35 -3.8,1.35
      fill #b9bcc2 rectangle -3.8,-1.35 -2.9,1.35
      fill #f6c21a rectangle -2.9,-1.35 2,1.35
      fill #efd3a2 polygon 2,-1.35 4.5,0 2,1.35
      fill #2b2b2b polygon 3.6,-0.5 4.5,0 3.6,0.5
      fill none stroke #6a4a0c stroke-width 0.45 polygon -5,-1.35 2,-1.35 4.5,0 2,1.35 -5,1.35
    pop graphic-context"

draw 16 16 1 "$OUT/information.png" "
    fill #2f6fd0 stroke #17468f stroke-width 0.8 circle 8,8 8,0.9
    stroke none fill white circle 8,4 8,2.9 rectangle 7,6 9,12"

# ------------------------------------------------------------ application icon

# One drawing on a 16-unit grid, scaled per size: a panel (rounded square)
# with a play triangle sending signal arcs. At 16 px the arcs are thinner,
# wider apart and all white so they stay apart; bigger sizes get a gloss band.
appicon_mvg() {
    printf '%s' "fill #1d5aa6 stroke #0c2f5e stroke-width 1 roundrectangle 0.5,0.5 15.5,15.5 3,3 stroke none "
    if [[ $1 == small ]]; then
        printf '%s' "fill white polygon 3,4 3,12 8,8 $(arc 6.5 8 3.8 1 -45 45) $(arc 6.5 8 6.3 1 -45 45)"
    else
        printf '%s' "fill #ffffff22 roundrectangle 1.2,1.2 14.8,7.6 2.4,2.4
            fill white polygon 2.8,4 2.8,12 8.6,8
            fill #9fdcff $(arc 8 8 2.9 1.2 -55 55) fill #ffffff $(arc 8 8 5.2 1.2 -50 50)"
    fi
}
for s in 16 32 48 128; do
    style=large; ((s < 32)) && style=small
    draw "$s" "$s" "$(awk -v s="$s" 'BEGIN { print s / 16 }')" "$TMP/icon$s.png" "$(appicon_mvg $style)"
done
# The palette images keep only on/off transparency, so cut alpha at half first.
for s in 16 32; do
    convert "$TMP/icon$s.png" -channel A -threshold 50% +channel \
        +dither -colors 255 "${PNG_OPTS[@]}" "PNG32:$TMP/icon${s}p.png"
done
icotool -c -o "$OUT/AppIcon.ico" \
    -b 8 "$TMP/icon16p.png" "$TMP/icon32p.png" \
    -b 32 "$TMP/icon16.png" "$TMP/icon32.png" "$TMP/icon48.png" "$TMP/icon128.png"
# The same pictures, one file per size, for the desktop's hicolor icon theme.
mkdir -p "$OUT/icons"
for s in 16 32 48 128; do
    cp "$TMP/icon$s.png" "$OUT/icons/AppIcon_$s.png"
done

# ---------------------------------------------------------------- About picture

# 100x180, no lettering: a remote control sending signal arcs, over a blue
# panel. The play key in the middle repeats the application icon.
HP_W=100 HP_H=180
convert -size ${HP_W}x${HP_H} gradient:'#3f86dc-#0b264b' \
    \( -size $((HP_W * SS))x$((HP_H * SS)) xc:none -fill white \
       -draw "roundrectangle 0,0 $((HP_W * SS - 1)),$((HP_H * SS - 1)) $((10 * SS)),$((10 * SS))" \
       -filter box -resize "${HP_W}x${HP_H}!" \) \
    -compose copy_opacity -composite "PNG32:$TMP/panel.png"
draw $HP_W $HP_H 1 "$TMP/remote.png" "
    stroke none fill #bfe6ff $(arc 50 40 8 2.2 235 305) $(arc 50 40 15 2.2 238 302)
    fill #ffffffc0 $(arc 50 40 22 2.2 241 299)
    fill #000000 stroke none fill-opacity 0.35 roundrectangle 31,45 75,175 12,12
    fill-opacity 1
    fill #30353e stroke #14171c stroke-width 1.2 roundrectangle 28,42 72,172 12,12
    stroke none fill #464c57 roundrectangle 31,45 69,60 8,8
    fill #ff5a4a circle 50,40.6 50,38.4
    fill #e0412f stroke #7a1a10 stroke-width 0.8 circle 61,53 61,49.8
    stroke none fill #8fd0ff rectangle 35,51.5 47,54.5
    fill #555c68 stroke #1a1d22 stroke-width 1 circle 50,86 50,70
    stroke none fill #6b7380 polygon 50,72.5 53,76 47,76 polygon 50,99.5 53,96 47,96
      polygon 36.5,86 40,83 40,89 polygon 63.5,86 60,83 60,89
    fill #1d5aa6 stroke #0c2f5e stroke-width 1 circle 50,86 50,78.5
    stroke none fill white polygon 47.2,82 47.2,90 54,86
    fill #4a505b stroke #1a1d22 stroke-width 0.8
      roundrectangle 33,108 43,116 2,2 roundrectangle 45,108 55,116 2,2 roundrectangle 57,108 67,116 2,2
      roundrectangle 33,122 43,148 4,4 roundrectangle 57,122 67,148 4,4
    stroke none fill #d8dde5
      polygon 40.5,109.8 40.5,114.2 37,112 rectangle 36,109.8 36.9,114.2
      rectangle 47.8,109.8 49.2,114.2 rectangle 50.8,109.8 52.2,114.2
      polygon 59.5,109.8 59.5,114.2 63,112 rectangle 63.1,109.8 64,114.2
      rectangle 35.5,127.3 40.5,128.7 rectangle 37.3,125.5 38.7,130.5 rectangle 35.5,141.3 40.5,142.7
      rectangle 59.5,127.3 64.5,128.7 rectangle 61.3,125.5 62.7,130.5 rectangle 59.5,141.3 64.5,142.7
    fill #4a505b stroke #1a1d22 stroke-width 0.8
      roundrectangle 46,124 54,132 2,2 roundrectangle 46,138 54,146 2,2
      roundrectangle 33,153 43,160 2,2 roundrectangle 45,153 55,160 2,2 roundrectangle 57,153 67,160 2,2
      roundrectangle 33,163 43,168 2,2 roundrectangle 45,163 55,168 2,2 roundrectangle 57,163 67,168 2,2"
convert "$TMP/panel.png" "$TMP/remote.png" -compose over -composite \
    "${PNG_OPTS[@]}" "PNG32:$OUT/Help_Panel.png"

# ---------------------------------------------------------------- resource file

{
    echo '<RCC>'
    echo '    <qresource prefix="/Images">'
    for f in AppIcon.ico door.png house.png email_edit.png information.png \
             Change.png Play_C.png Stop_C.png Pause_C.png \
             Previous_File_C.png Next_File_C.png Previous_Folder_C.png Next_Folder_C.png \
             Volume.png Volume_Max.png Volume_Min.png Help_Panel.png; do
        echo "        <file>$f</file>"
    done
    echo '    </qresource>'
    echo '</RCC>'
} > "$OUT/images.qrc"
