#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when some are missing.
set -euo pipefail

# What building and running need: the compiler and Qt, libcups for the
# printer window's module, the font the window's captions are measured in,
# and Qt's own translations for its dialogs.
packages=(cmake ninja-build g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libcups2-dev fonts-dejavu-core qt6-translations-l10n)
case "${1:-test}" in
run) ;;
# `make check` (the unit and window tests) adds the sources the tests
# compile a German locale from, and bash's completion, which tst_clioptions
# runs vistrel-cli's in.
check) packages+=(locales bash-completion) ;;
# `make test` adds what the rest of the suite needs: a private CUPS
# scheduler with poppler to read its output, clang's libFuzzer runtime for
# the fuzz targets, and dpkg's tools, lintian, desktop-file-validate,
# appstreamcli and bash's completion for the Debian package, the completion
# typed into a real interactive bash by tmux.
test)
    packages+=(locales cups-daemon cups-client poppler-utils clang libclang-rt-14-dev dpkg-dev
               lintian desktop-file-utils appstream bash-completion tmux)
    ;;
# `install-deps.sh bench` adds what the benchmarks need: Xvfb, XCB's DAMAGE
# extension (to see a window's first drawing on the X server) and two desktop
# calculators to compare start-up with.
bench) packages+=(libbenchmark-dev xvfb xauth libxcb-damage0-dev speedcrunch kcalc) ;;
*)
    echo "usage: install-deps.sh [run|check|test|bench]" >&2
    exit 2
    ;;
esac

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
