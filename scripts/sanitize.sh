#!/usr/bin/env bash
# Builds the test suite with a sanitizer and runs it: `address` (AddressSanitizer with
# UndefinedBehaviorSanitizer, the default) or `thread` (ThreadSanitizer).
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-address}
bash scripts/install-deps.sh
build=build-$kind
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESK_SANITIZE="$kind" \
    -DTESK_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:suppressions=$PWD/tests/sanitizers/lsan.supp"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:suppressions=$PWD/tests/sanitizers/tsan.supp"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
