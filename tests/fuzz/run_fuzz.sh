#!/usr/bin/env bash
# Runs fuzz targets of a fuzz build for a while each, all at once, starting
# from their committed seed corpora; new inputs go to a scratch folder, so the
# committed corpora stay as they are. Prints one line per target and fails
# when a target failed a check, crashed, or did not start from its seeds.
# An input that failed is kept in <fuzz build folder>/fuzz-found/<target>/.
#
#     tests/fuzz/run_fuzz.sh <fuzz build folder> <seconds> [target ...]
#
# The inputs follow from a fixed seed, so a run finds the same faults every
# time and a short run (CI's) never fails by chance; FUZZ_SEED=0 draws a new
# seed for exploring.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?fuzz build folder}" && pwd)"
seconds="${2:?seconds per target}"
shift 2
targets=("$@")
if ((${#targets[@]} == 0)); then
    for src in "$here"/fuzz_*.cpp; do
        targets+=("$(basename "$src" .cpp)")
    done
fi

scratch="$(mktemp -d)"  # before TMPDIR moves
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export QT_QPA_PLATFORM=offscreen
# The targets write small files all the time; in memory their syncs cost
# nothing.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

pids=()
for t in "${targets[@]}"; do
    bin="$build/tests/fuzz/$t"
    if [ ! -x "$bin" ]; then
        echo "$t: not built in $build" >&2
        exit 1
    fi
    found="$build/fuzz-found/$t"
    rm -rf "$found"
    mkdir -p "$scratch/$t/new" "$found"
    "$bin" -max_total_time="$seconds" -seed="${FUZZ_SEED:-20241207}" -print_final_stats=1 -timeout=20 \
        -artifact_prefix="$found/" "$scratch/$t/new" "$here/corpus/$t" \
        >"$scratch/$t/log" 2>&1 &
    pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
    t="${targets[$i]}"
    wait "${pids[$i]}"
    rc=$?
    log="$scratch/$t/log"
    seeds=$(ls "$here/corpus/$t" 2>/dev/null | wc -l)
    loaded=$(sed -n 's/.*seed corpus: files: \([0-9]*\).*/\1/p' "$log" | head -1)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
    grown=$(ls "$scratch/$t/new" | wc -l)
    if [ "$rc" -ne 0 ] || [ "${loaded:-0}" -eq 0 ] || [ "${loaded:-0}" -ne "$seeds" ] ||
        [ "${runs:-0}" -eq 0 ]; then
        echo "$t: FAILED (exit $rc, ${loaded:-no} of $seeds seeds loaded, ${runs:-no} runs)"
        grep -E "fuzz check failed|ERROR|SUMMARY|^    #[0-9]" "$log" | head -30
        for f in "$build/fuzz-found/$t/"*; do
            [ -e "$f" ] && echo "  input kept as $f: $(od -An -tx1 -v "$f" | tr -d '\n' | cut -c1-300)"
        done
        failed=$((failed + 1))
    else
        echo "$t: $loaded seeds, $runs runs in ${secs:-?} s, $cov, $grown new inputs, no failure"
    fi
done
echo "fuzz: $((${#targets[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
