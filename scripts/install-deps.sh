#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when some are missing.
set -euo pipefail

# Printing hands its jobs to CUPS (libcups); the printing tests run a private CUPS
# scheduler and read its output with poppler;
# the fuzz targets need clang's libFuzzer runtime; the window's captions are measured
# in the font its texts name; the Debian package is built with dpkg's tools and
# checked with lintian, desktop-file-validate, appstreamcli and bash's completion,
# which tmux types into a real interactive bash; `locales` holds the sources the
# tests compile a German locale from; Qt's own dialogs speak the user's language
# with qt6-translations-l10n.
packages=(cmake ninja-build g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libcups2-dev cups-daemon cups-client poppler-utils clang libclang-rt-14-dev
          fonts-dejavu-core dpkg-dev lintian desktop-file-utils appstream bash-completion
          tmux locales qt6-translations-l10n)
# `install-deps.sh bench` adds what the benchmarks need: Xvfb, XCB's DAMAGE
# extension (to see a window's first drawing on the X server) and two desktop
# calculators to compare start-up with.
if [ "${1:-}" = bench ]; then
    packages+=(libbenchmark-dev xvfb xauth libxcb-damage0-dev speedcrunch kcalc)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        sudo_cmd=(sudo)
    else
        echo "error: these packages are missing and there is no root access: ${missing[*]}" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
