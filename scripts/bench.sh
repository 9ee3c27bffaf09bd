#!/usr/bin/env bash
# `make bench`: builds the benchmarks in Release (the `bench` preset, build/bench), runs every
# vantor-bench-* program with repetitions, keeps each program's JSON report in
# build/bench/results/, and prints one table of medians and ratios (bench-table).
#
#     scripts/bench.sh [PROGRAM ...]      # e.g. scripts/bench.sh Tap HintKeys; default: all
#
# Environment: BENCH_REPETITIONS (default 20), BENCH_FILTER (a --benchmark_filter regex),
# BENCH_BUILD_DIR (configure that folder as a Release build instead of the preset's).
#
# Naming convention for the ratios (details in bench/README.md):
# - BM_<Group>_Floor[/args] is the floor of every BM_<Group>_* benchmark of the same program:
#   ratio = median / the floor's median, taking the floor with the same arguments when there
#   is one, else the floor without arguments.
# - A benchmark with one whole-number argument that counts items (SetItemsProcessed) and has
#   no floor is compared per item with its family's member of argument 100 (else its smallest).
# Medians are of CPU time per iteration over the repetitions (the machine may be shared).
set -euo pipefail
cd "$(dirname "$0")/.."

repetitions=${BENCH_REPETITIONS:-20}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

if [[ -n "${BENCH_BUILD_DIR:-}" ]]; then
    build=$BENCH_BUILD_DIR
    cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Release >/dev/null
else
    build=build/bench
    cmake --preset bench >/dev/null
fi

programs=("$@")
if [[ ${#programs[@]} -eq 0 ]]; then
    for source in bench/*Bench.cpp; do
        [[ -e "$source" ]] || continue
        name=$(basename "$source" .cpp)
        programs+=("${name%Bench}")
    done
fi
if [[ ${#programs[@]} -eq 0 ]]; then
    echo "No benchmarks yet (bench/*Bench.cpp)."
    exit 0
fi

targets=(bench-table)
for p in "${programs[@]}"; do targets+=("vantor-bench-$p"); done
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

results=$build/results
mkdir -p "$results"
reports=()
status=0
for p in "${programs[@]}"; do
    exe=$build/bench/vantor-bench-$p
    report=$results/vantor-bench-$p.json
    echo "== vantor-bench-$p ($repetitions repetitions)"
    if ! "$exe" --benchmark_repetitions="$repetitions" \
            --benchmark_enable_random_interleaving=true \
            --benchmark_display_aggregates_only=true \
            --benchmark_filter="${BENCH_FILTER:-.}" \
            --benchmark_out="$report" --benchmark_out_format=json; then
        echo "vantor-bench-$p failed" >&2
        status=1
    fi
    [[ -s "$report" ]] && reports+=("$report")
    # The first draw of a process once more, with the fonts prepared as the agent's start does.
    if [[ $p == Draw ]]; then
        report=$results/vantor-bench-$p-prepared.json
        if ! VANTOR_BENCH_PREPARE=1 "$exe" --benchmark_repetitions="$repetitions" \
                --benchmark_display_aggregates_only=true \
                --benchmark_filter='BM_FirstDraw_(PrepareAtStart|AfterPrepare)' \
                --benchmark_out="$report" --benchmark_out_format=json; then
            echo "vantor-bench-$p (prepared) failed" >&2
            status=1
        fi
        [[ -s "$report" ]] && reports+=("$report")
    fi
done

echo
echo "== Medians over $repetitions repetitions ($(nproc 2>/dev/null || echo ?) cores, $(date -u +%F))"
"$build/bench/bench-table" "${reports[@]}" | tee "$results/table.txt"
exit $status
