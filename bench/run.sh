#!/usr/bin/env bash
# Builds the benchmarks (Release), runs them and closes with a short report of
# the figures against the targets. The whole output is kept in
# $BUILD_DIR/bench-report.txt.
#
#   BENCH_BUILD_DIR  build folder (default build-bench)
#   JOBS             parallel compile jobs (default: nproc)
#   BENCH_STRICT=1   exit with status 1 when a target is missed
set -uo pipefail

cd "$(dirname "$0")/.."
BUILD_DIR=${BENCH_BUILD_DIR:-build-bench}
JOBS=${JOBS:-$(nproc)}
BIN=$BUILD_DIR/bin
REPORT=$BUILD_DIR/bench-report.txt

# The build's own output goes to a log, so the report stays short; it is
# shown when the build fails.
mkdir -p "$BUILD_DIR"
BUILD_LOG=$BUILD_DIR/build.log
echo "Building the benchmarks (Release) in $BUILD_DIR; log in $BUILD_LOG"
if ! { cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVISTREL_BENCH=ON \
    -DVISTREL_TESTS=OFF &&
    # Only what the benchmarks need; the program itself is not part of any figure.
    cmake --build "$BUILD_DIR" -j "$JOBS" \
        --target vistrel-bench-startup vistrel-bench-memory vistrel-bench-calc; } >"$BUILD_LOG" 2>&1
then
    tail -n 40 "$BUILD_LOG"
    echo "The benchmarks did not build; see $BUILD_LOG" >&2
    exit 1
fi

: >"$REPORT"
# Qt wants a private runtime folder; without one it warns in every process.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
failed=0

# Runs one benchmark program, showing and keeping its output.
run() {
    local title=$1
    shift
    printf '\n== %s\n' "$title" | tee -a "$REPORT"
    if ! "$@" 2>&1 | tee -a "$REPORT"; then
        echo "FAILED: $title" | tee -a "$REPORT"
        failed=1
    fi
}

# Under Xvfb through xvfb-run, which needs xauth; without it, a private Xvfb
# on a display it picks itself.
under_xvfb() {
    if command -v xauth >/dev/null 2>&1; then
        xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$@"
        return
    fi
    local fifo display pid status
    fifo=$(mktemp -u) && mkfifo "$fifo" || return 1
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
    pid=$!
    read -r -t 10 display <"$fifo"
    rm -f "$fifo"
    if [ -z "${display:-}" ]; then
        kill "$pid" 2>/dev/null
        echo "Xvfb did not start" >&2
        return 1
    fi
    DISPLAY=:$display QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return $status
}

{
    echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "Qt: $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)"
    echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee -a "$REPORT"

run "Start-up, offscreen" env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-startup"
run "Start-up, Xvfb" under_xvfb "$BIN/vistrel-bench-startup"
run "Resident memory" env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-memory"
run "Catalogue and confirmed entry" env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-calc" \
    --benchmark_color=false

echo "Load average after the run: $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$REPORT"
printf '\n== Targets\n'
grep '^TARGET' "$REPORT" | sed 's/^TARGET //'
[ "$failed" -eq 0 ] || {
    echo "Some benchmark programs failed; see $REPORT"
    exit 1
}
if [ "${BENCH_STRICT:-0}" = 1 ] && grep -q '^TARGET MISSED' "$REPORT"; then
    exit 1
fi
exit 0
