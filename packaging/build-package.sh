#!/usr/bin/env bash
# Builds vistrel_<version>_<arch>.deb in a Release build of its own, with
# Debian's hardening flags: build-package.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
build=$2

# Debian's optimisation (-O2) replaces CMake's -O3; no debugging information,
# since the shipped binaries are stripped anyway (and it saves a fifth of the
# build time).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVISTREL_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"
cmake --build "$build" -j "${JOBS:-$(nproc)}"
# One package in the folder, so nobody installs or checks a stale one.
rm -f "$build"/vistrel_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/vistrel_*.deb
