#!/usr/bin/env bash
# Set-up plus the whole test suite, built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/test"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Debug -DLIKENTOR_SANITIZE=ON -DLIKENTOR_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
