#!/usr/bin/env bash
# The layer check must fail on each way a folder can name one above it, and
# must not mistake a standard header for one of ours.
set -u
check=${1:?check-layers.sh}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{core,catalogue,draw,files,calc,session,print,app,cli,render}
touch "$tree/calc/lens.h" "$tree/print/page.h"
failures=0

expect() { # expect STATUS 'include lines' WHAT
    printf '%s\n' "$2" > "$tree/core/probe.cpp"
    "$check" "$tree" > /dev/null
    local got=$?
    if [ "$got" -ne "$1" ]; then
        echo "FAIL: $3 (status $got, expected $1)"
        failures=$((failures + 1))
    fi
}

expect 0 '#include <vector>
#include <print>
#include <QString>' "standard and Qt headers"
expect 1 '#include "calc/lens.h"' "a quoted folder/header above"
expect 1 '  #  include "calc/lens.h"' "an indented include above"
expect 1 '#include <calc/lens.h>' "an angled folder/header above"
expect 1 '#include "lens.h"' "a header of a folder above named alone"
expect 1 '#include <print/page.h>' "an angled print header"

[ $failures -eq 0 ] && echo "the layer check catches every form"
exit $((failures > 0))
