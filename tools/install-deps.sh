#!/usr/bin/env bash
# Installs the Debian packages that one or more purposes need, but only those
# that are missing, so a second run costs nothing.
#
#   tools/install-deps.sh PURPOSE...
#
#   run      building and running the panel and the simulated player
#   test     run, and the tools the tests start (socat pty pairs, the desktop
#            entry and AppStream checks)
#   package  run, and what builds the Debian package and checks it (lintian)
#   fuzz     run, and clang with its libFuzzer runtime (llvm for readable reports)
#   bench    run, and socat and Xvfb, which the benchmarks start
set -euo pipefail

# qttranslations5-l10n: Qt's own French (dialog buttons, context menus, socket errors)
run=(cmake make g++ pkg-config qtbase5-dev libqt5serialport5-dev qttools5-dev-tools qttools5-dev
    qttranslations5-l10n)
test=(socat appstream desktop-file-utils)
package=(dpkg-dev file lintian)
fuzz=(clang libclang-rt-14-dev llvm)
bench=(socat xvfb)

if [[ $# -eq 0 ]]; then
    echo "usage: $0 run|test|package|fuzz|bench..." >&2
    exit 2
fi
packages=("${run[@]}")
for purpose in "$@"; do
    case $purpose in
        run) ;;
        test) packages+=("${test[@]}") ;;
        package) packages+=("${package[@]}") ;;
        fuzz) packages+=("${fuzz[@]}") ;;
        bench) packages+=("${bench[@]}") ;;
        *)
            echo "error: unknown purpose '$purpose' (run, test, package, fuzz or bench)" >&2
            exit 2
            ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" || " ${missing[*]} " == *" $p "* ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "error: these Debian packages are missing and I can neither install them as root nor with sudo:" >&2
    echo "  ${missing[*]}" >&2
    echo "Install them with your administrator (apt-get install ${missing[*]}) and run the command again." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
