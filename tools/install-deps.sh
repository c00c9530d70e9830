#!/usr/bin/env bash
# Installs the Debian packages the build, the panel and the tests need, but
# only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qtbase5-dev libqt5serialport5-dev qttools5-dev-tools qttools5-dev
    # Qt's own French: dialog buttons, context menus, socket errors
    qttranslations5-l10n
    socat xvfb xauth appstream desktop-file-utils
    dpkg-dev file
    # the fuzz targets: clang, its libFuzzer runtime, llvm-symbolizer for readable reports
    clang libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    run=()
elif command -v sudo >/dev/null 2>&1; then
    run=(sudo)
else
    echo "error: these Debian packages are missing and I can neither install them as root nor with sudo:" >&2
    echo "  ${missing[*]}" >&2
    echo "Install them with your administrator (apt-get install ${missing[*]}) and run the command again." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -q
"${run[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
