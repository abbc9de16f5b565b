#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a folder of their own and runs
# each for a while on a copy of its seed corpus.
#
#   fuzz/run.sh [--build-only] [--seconds N | --runs N --seed S] [--build-dir DIR]
#               [TARGET...]
#
# TARGET is one of catalogue, language, calcfile, projectfile, number, cli, session,
# modeltable (default: all).
# --seconds defaults to $FUZZ_SECONDS, else 60. --runs with --seed makes a
# repeatable run: N inputs from the seed corpus alone, the same ones wherever
# the same compiler builds the targets. DIR defaults to build-fuzz at the top
# of the repository.
# Inputs the fuzzer finds stay in DIR/fuzz-work/TARGET/; fuzz/corpus/ is never
# written. The exit status is non-zero when a target found a crash (its file is
# named in the summary) or could not be run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
all_targets=(catalogue language calcfile projectfile number cli session modeltable)

build_only=0
seconds=${FUZZ_SECONDS:-60}
runs=
seed=
build_dir=$repo/build-fuzz
targets=()

usage() {
    sed -n '2,16s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"
}

while [ $# -gt 0 ]; do
    case $1 in
    --build-only) build_only=1 ;;
    --seconds)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        seconds=$2
        shift
        ;;
    --seconds=*) seconds=${1#*=} ;;
    --runs)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        runs=$2
        shift
        ;;
    --runs=*) runs=${1#*=} ;;
    --seed)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        seed=$2
        shift
        ;;
    --seed=*) seed=${1#*=} ;;
    --build-dir)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        build_dir=$2
        shift
        ;;
    --build-dir=*) build_dir=${1#*=} ;;
    -h | --help)
        usage
        exit 0
        ;;
    -*)
        echo "fuzz/run.sh: unknown option $1" >&2
        usage >&2
        exit 2
        ;;
    *) targets+=("$1") ;;
    esac
    shift
done

whole_number() {
    case $2 in
    '' | *[!0-9]*)
        echo "fuzz/run.sh: $1 needs a whole number, not '$2'" >&2
        exit 2
        ;;
    esac
}
whole_number --seconds "$seconds"
if [ -n "$runs$seed" ]; then
    whole_number --runs "$runs"
    whole_number --seed "$seed"
    [ "$seed" -gt 0 ] || {
        echo "fuzz/run.sh: --seed 0 would pick a random seed" >&2
        exit 2
    }
fi
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
    case " ${all_targets[*]} " in
    *" $t "*) ;;
    *)
        echo "fuzz/run.sh: unknown target '$t' (known: ${all_targets[*]})" >&2
        exit 2
        ;;
    esac
done

# libFuzzer writes its files relative to the working folder; absolute paths
# keep them where they belong whatever folder the script is called from.
mkdir -p "$build_dir"
build_dir=$(cd "$build_dir" && pwd)

for tool in clang clang++ cmake ninja; do
    command -v "$tool" >/dev/null || {
        echo "fuzz/run.sh: $tool is needed (make deps installs it)" >&2
        exit 2
    }
done

# The engine libraries get the coverage instrumentation and the sanitizers
# too (only the fuzz executables link the fuzzer's main()).
sanitize_flags="-fsanitize=fuzzer-no-link,address,undefined,float-divide-by-zero"
sanitize_flags+=" -fno-sanitize-recover=all -fno-omit-frame-pointer"

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S "$repo" -B "$build_dir" -G Ninja \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVISTREL_FUZZ=ON -DVISTREL_TESTS=OFF -DVISTREL_WERROR=ON \
        -DCMAKE_CXX_FLAGS="$sanitize_flags"
fi
build_targets=()
for t in "${targets[@]}"; do
    build_targets+=("fuzz_$t")
done
cmake --build "$build_dir" --target "${build_targets[@]}"

[ "$build_only" -eq 0 ] || exit 0

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

work_root=$build_dir/fuzz-work
summary=()
failed=0
for t in "${targets[@]}"; do
    work=$work_root/$t
    # A repeatable run must not depend on what earlier runs found here.
    [ -z "$runs" ] || rm -rf "$work/corpus"
    mkdir -p "$work/corpus"
    # New inputs go to the work copy only; earlier finds are kept there.
    cp -R "$repo/fuzz/corpus/$t/." "$work/corpus/"
    log=$work/last-run.log
    stamp=$work/.run-started
    : >"$stamp"

    options=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/")
    if [ -n "$runs" ]; then
        # What would vary the inputs from one run to the next: reloading the
        # corpus folder every second (timing), comparisons with pointers
        # turned into dictionary words (address randomisation), Qt's hash seed.
        options+=(-runs="$runs" -seed="$seed" -reload=0 -use_cmp=0)
        export QT_HASH_SEED=0
        budget="$runs runs from seed $seed"
    else
        options+=(-max_total_time="$seconds")
        budget="${seconds} s"
    fi
    [ ! -f "$repo/fuzz/$t.dict" ] || options+=(-dict="$repo/fuzz/$t.dict")

    echo "== fuzz_$t: $budget on $(find "$work/corpus" -type f | wc -l) inputs (log: $log)"
    started=$(date +%s)
    status=0
    (cd "$work" && "$build_dir/bin/fuzz_$t" "${options[@]}" "$work/corpus") >"$log" 2>&1 ||
        status=$?
    elapsed=$(($(date +%s) - started))

    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    corpus_size=$(find "$work/corpus" -type f | wc -l)
    artifacts=$(find "$work" -maxdepth 1 -type f -newer "$stamp" \
        \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | sort)
    if [ "$status" -eq 0 ] && [ -z "$artifacts" ]; then
        result=ok
    else
        failed=1
        result="FAILED (exit status $status)"
        if [ -n "$artifacts" ]; then
            result+=": $(echo "$artifacts" | paste -sd ' ')"
        fi
        echo "-- last lines of $log:"
        tail -n 40 "$log"
    fi
    summary+=("$(printf '%-10s %12s executions in %4d s, corpus %5d inputs, %s' \
        "$t" "${executions:-?}" "$elapsed" "$corpus_size" "$result")")
done

echo
echo "Fuzzing summary (build folder $build_dir):"
printf '  %s\n' "${summary[@]}"
exit "$failed"
