#!/usr/bin/env bash
# Builds the program and the benchmarks (Release), measures the five targets
# of docs/PERFORMANCE.md as a user meets them (whole processes, the real
# window, real key events) and closes with the table of targets. The whole
# output is kept in $BUILD_DIR/bench-report.txt.
#
#   BENCH_BUILD_DIR  build folder (default build-bench)
#   JOBS             parallel compile jobs (default: nproc)
#   BENCH_ROUNDS     rounds of the process benchmarks (default 30)
#   BENCH_STRICT=1   exit with status 1 when a target is missed
set -uo pipefail

cd "$(dirname "$0")/.."
BUILD_DIR=${BENCH_BUILD_DIR:-build-bench}
JOBS=${JOBS:-$(nproc)}
ROUNDS=${BENCH_ROUNDS:-30}
BIN=$(pwd)/$BUILD_DIR/bin
REPORT=$BUILD_DIR/bench-report.txt

# The build's own output goes to a log, so the report stays short; it is
# shown when the build fails.
mkdir -p "$BUILD_DIR"
BUILD_LOG=$BUILD_DIR/build.log
echo "Building the program and the benchmarks (Release) in $BUILD_DIR; log in $BUILD_LOG"
if ! { cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVISTREL_BENCH=ON \
    -DVISTREL_TESTS=OFF && cmake --build "$BUILD_DIR" -j "$JOBS"; } >"$BUILD_LOG" 2>&1; then
    tail -n 40 "$BUILD_LOG"
    echo "The benchmarks did not build; see $BUILD_LOG" >&2
    exit 1
fi

: >"$REPORT"
# Every process runs with the same fresh settings: English texts, no user
# files, Qt's own scaling off, a private runtime folder (the window's
# single-instance lock lives there).
SCRATCH=$(mktemp -d)
# A desktop session's runtime folder (/run/user/UID) is in memory; on disk,
# the lock's sync at start-up would cost the window a millisecond no user pays.
RUNTIME=$(mktemp -d -p /dev/shm 2>/dev/null || echo "$SCRATCH/runtime")
trap 'rm -rf "$SCRATCH" "$RUNTIME"' EXIT
mkdir -p -m 700 "$RUNTIME" "$SCRATCH/home"
chmod 700 "$RUNTIME"
export XDG_RUNTIME_DIR=$RUNTIME HOME=$SCRATCH/home LC_ALL=C.UTF-8 LANGUAGE=
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
    QT_FONT_DPI QT_USE_PHYSICAL_DPI QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY \
    DBUS_SESSION_BUS_ADDRESS
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

# One Xvfb for every measurement on X; its display is in DISPLAY.
XVFB_PID=
start_xvfb() {
    local fifo display
    command -v Xvfb >/dev/null 2>&1 || return 1
    fifo=$SCRATCH/xvfb-display
    mkfifo "$fifo" || return 1
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>"$SCRATCH/xvfb.log" &
    XVFB_PID=$!
    read -r -t 10 display <"$fifo"
    [ -n "${display:-}" ] || return 1
    DISPLAY=:$display
}
stop_xvfb() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

{
    echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "Qt: $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)"
    echo "Source: $(git rev-parse --short HEAD 2>/dev/null || echo unknown)$(git diff --quiet HEAD 2>/dev/null || echo ' (with changes)')"
    echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee -a "$REPORT"

PROCESS=$BIN/vistrel-bench-process
PROBE=$BIN/libvistrel-bench-probe.so
CLI=$BIN/vistrel-cli

# 1. Every vistrel-cli run that prints text, CSV or JSON, against a Qt Core
# program that prints one line. --save is shown beside them without a limit:
# it waits for the file and its folder to reach the disk, which no printing
# program does.
"$CLI" --diagonal 120 --save "$SCRATCH/saved.cf" >/dev/null
run "1. vistrel-cli, whole processes" "$PROCESS" exit --rounds "$ROUNDS" \
    --title "vistrel-cli against a Qt Core program that prints one line" \
    --limit "--diagonal --json=1.2" --limit "text report=1.2" --limit "--list-models=1.2" \
    --limit "--list-models --json=1.2" --limit "--open --unit --json=1.2" \
    --limit "--chart=1.2" --limit "--help=1.2" --limit "2.39 anamorphic --json=1.2" \
    @"Qt Core floor" "$BIN/vistrel-bench-corefloor" \
    @"--diagonal --json" "$CLI" --diagonal 100 --json \
    @"text report" "$CLI" --model "Aster 2000" --aspect 16:9 --width 200 \
    @"--list-models" "$CLI" --list-models \
    @"--list-models --json" "$CLI" --list-models --json \
    @"--open --unit --json" "$CLI" --open "$SCRATCH/saved.cf" --unit cm --json \
    @"--chart" "$CLI" --model "Aster 2000" --chart \
    @"2.39 anamorphic --json" "$CLI" --model "Aster 2000" --aspect 2.39 --anamorphic 1.33 \
        --diagonal 120 --json \
    @"--save (syncs the file)" "$CLI" --distance 200 --save "$SCRATCH/again.cf" \
    @"--help" "$CLI" --help

# 2. A Return key in a value field to both diagrams painted.
run "2. Return key to both diagrams painted, offscreen" \
    env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-entry"
run "2. Return key to both diagrams painted, 2.39 : 1 chosen under Other, offscreen" \
    env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-entry" --scope
run "2. Return key to both diagrams painted, installation planner open, offscreen" \
    env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-entry" --planner
run "2. Return key to both diagrams painted, the planner's room and its drawings open, offscreen" \
    env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-entry" --room

# 3 and 4. The window against the same widgets without logic.
run "The same-widgets floor is the calculator window without its logic" \
    env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-samewidgets-check"
run "3. Start-up to the first painted window, offscreen" env QT_QPA_PLATFORM=offscreen \
    "$PROCESS" paint --rounds "$ROUNDS" --probe "$PROBE" \
    --title "Start-up, offscreen" --limit "vistrel=1.1" \
    @"same-widgets floor" "$BIN/vistrel-bench-samewidgets" @vistrel "$BIN/vistrel"
run "4. Peak resident memory of the window, offscreen" env QT_QPA_PLATFORM=offscreen \
    "$PROCESS" memory --rounds 7 --warmup 1 --probe "$PROBE" \
    --title "Peak resident memory after the first paint and 300 ms" --limit-add "vistrel=1.5" \
    @"same-widgets floor" "$BIN/vistrel-bench-samewidgets" @vistrel "$BIN/vistrel"

if start_xvfb; then
    export DISPLAY
    run "3. Start-up to the first painted window, Xvfb" "$PROCESS" xpaint \
        --rounds "$ROUNDS" --title "Start-up, Xvfb (first drawing seen by the X server)" \
        --limit "vistrel=1.1" --ahead "vistrel=SpeedCrunch" --ahead "vistrel=KCalc" \
        --optional SpeedCrunch --optional KCalc \
        @"same-widgets floor" env QT_QPA_PLATFORM=xcb "$BIN/vistrel-bench-samewidgets" \
        @vistrel env QT_QPA_PLATFORM=xcb "$BIN/vistrel" \
        @SpeedCrunch /usr/bin/speedcrunch @KCalc /usr/bin/kcalc
    run "2. (diagnostic) Return key to both diagrams painted, Xvfb" \
        env QT_QPA_PLATFORM=xcb "$BIN/vistrel-bench-entry" --entries 200
    stop_xvfb
    unset DISPLAY
else
    echo "No Xvfb: the measurements on X are left out" | tee -a "$REPORT"
fi

# 5. Which projectors fit a screen, over the 1000 models a list holds.
run "5. The fit table of 1000 models, engine alone" "$BIN/vistrel-bench-fit" \
    --benchmark_color=false

run "Diagnostics in a warm process: catalogue, engine alone" \
    env QT_QPA_PLATFORM=offscreen "$BIN/vistrel-bench-calc" --benchmark_color=false

echo "Load average after the run: $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$REPORT"
printf '\n== Targets\n'
grep '^TARGET' "$REPORT" | sed 's/^TARGET //'
printf '\n== Diagnostics (no targets)\n'
grep '^DIAGNOSTIC' "$REPORT" | sed 's/^DIAGNOSTIC | //'
[ "$failed" -eq 0 ] || {
    echo "Some benchmark programs failed; see $REPORT"
    exit 1
}
if [ "${BENCH_STRICT:-0}" = 1 ] && grep -q '^TARGET MISSED' "$REPORT"; then
    exit 1
fi
exit 0
