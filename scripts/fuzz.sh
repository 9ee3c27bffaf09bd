#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on the libraries and the targets) into build/fuzz, and runs each
# target for FUZZ_SECONDS seconds (default 300), one after the other.
#
#   FUZZ_SECONDS   seconds per target (default 300; 0 only builds)
#   FUZZ_TARGETS   the targets to run, separated by blanks (default: all)
#   FUZZ_JOBS      parallel compile jobs (default 2)
#   FUZZ_BUILD     build folder (default build/fuzz)
#   FUZZ_SKIP_BUILD=1  runs the targets already built
#
# Each target starts from its seed corpus, fuzz/corpus/<target>/, and keeps what it finds in
# BUILD/corpus-<target>/ (never in the repository); a crashing input is written to
# BUILD/artifacts/<target>/. One summary line per target at the end; the exit code is 1 when
# any target found a crash or a broken property.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-300}
jobs=${FUZZ_JOBS:-2}
build=${FUZZ_BUILD:-$root/build/fuzz}
all_targets=(version-compare update-answer settings-file layout-file scenario-parser hint-keys
             trigger)
read -r -a targets <<<"${FUZZ_TARGETS:-${all_targets[*]}}"

mkdir -p "$build"
if [[ ${FUZZ_SKIP_BUILD:-0} != 1 ]]; then
    sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DVANTOR_FUZZ=ON -DVANTOR_BUILD_BENCH=OFF >"$build.configure.log" 2>&1 || {
        cat "$build.configure.log" >&2
        exit 1
    }
    cmake --build "$build" --target vantor-fuzzers -j "$jobs"
fi

if [[ $seconds -eq 0 ]]; then
    echo "fuzz: built the targets in $build/fuzz (FUZZ_SECONDS=0: none run)"
    exit 0
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
failed=0
for target in "${targets[@]}"; do
    program="$build/fuzz/fuzz-$target"
    seeds="$root/fuzz/corpus/$target"
    corpus="$build/corpus-$target"
    artifacts="$build/artifacts/$target"
    log="$build/fuzz-$target.log"
    if [[ ! -x "$program" || ! -d "$seeds" ]]; then
        echo "fuzz: unknown target $target" >&2
        exit 2
    fi
    mkdir -p "$corpus" "$artifacts"
    echo "fuzz: $target for ${seconds}s (log: $log)"
    status=0
    # New inputs go to the first corpus folder only; the seeds are read, never written.
    "$program" "$corpus" "$seeds" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" -timeout=25 -rss_limit_mb=4096 >"$log" 2>&1 || status=$?
    # libFuzzer's last status line: "#RUNS ... cov: N ft: N corp: N/SIZE ... exec/s: N ...".
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n 1 || true)
    rate=$(grep -oE 'stat::average_exec_per_sec: *[0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n 1 || true)
    cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
    corp=$(sed -nE 's/.* corp: ([0-9]+\/[0-9]+[a-zA-Z]*).*/\1/p' <<<"$last")
    if [[ $status -eq 0 ]]; then
        outcome="ok"
    else
        outcome="FAILED (exit $status; reproducer in $artifacts/)"
        failed=1
        grep -E 'ERROR|fuzz property violated|runtime error' "$log" | head -n 3 >&2 || true
    fi
    line=$(printf '%-16s %s: runs %s, %s exec/s, coverage %s, corpus %s' "$target" "$outcome" \
        "${runs:-?}" "${rate:-?}" "${cov:-?}" "${corp:-?}")
    echo "fuzz: $line"
    summary+=("$line")
done

echo "fuzz summary (${seconds}s per target, build in $build):"
printf '  %s\n' "${summary[@]}"
exit $failed
