#!/usr/bin/env bash
# `make soak`: builds the soak under AddressSanitizer and UndefinedBehaviorSanitizer (the
# `sanitize` preset, build/sanitize) and plays the long run: random keys and mouse, the Dock
# killed and started, applications starting and quitting, Accessibility failures and disabled
# taps injected; then the agent must still open the switcher and activate by hint, and nothing
# may have leaked or been released twice. A progress line every 10,000 events.
#
# Environment: SOAK_SEED (default 20261207), SOAK_EVENTS (default 100000),
# SOAK_BUILD_DIR (configure that folder as a sanitizer build instead of the preset's).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
if [[ -n "${SOAK_BUILD_DIR:-}" ]]; then
    build=$SOAK_BUILD_DIR
    cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Debug \
        -DVANTOR_SANITIZE=ON >/dev/null
else
    build=build/sanitize
    cmake --preset sanitize >/dev/null
fi
cmake --build "$build" -j "$jobs" --target vantor-soak

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$build/soak/vantor-soak" --seed "${SOAK_SEED:-20261207}" \
    --events "${SOAK_EVENTS:-100000}" --progress 10000
