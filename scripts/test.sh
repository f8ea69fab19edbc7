#!/usr/bin/env bash
# Set-up plus the whole test suite, built with AddressSanitizer and UndefinedBehaviorSanitizer; the
# batch runs and the portrait workers also run under ThreadSanitizer; a Clang build runs the suite
# too and makes the Debian package; the core is checked to compile for Windows; load, photos and
# undo are killed at random moments and the parsers, image loaders and a whole load are fuzzed.
# Warnings are errors in every build here.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/test"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Debug -DLIKENTOR_SANITIZE=ON -DLIKENTOR_BENCH=OFF \
  -DLIKENTOR_TESTS=ON -DLIKENTOR_WERROR=ON

# ThreadSanitizer first, so that the suite's own summary closes the output.
tsan="$here/build/tsan"
cmake -S "$here" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLIKENTOR_THREAD_SANITIZE=ON \
  -DLIKENTOR_TESTS=ON -DLIKENTOR_WERROR=ON -DLIKENTOR_BENCH=OFF -DLIKENTOR_ARTWORK=OFF >/dev/null
cmake --build "$tsan" -j "$(nproc)" --target app_photo_tests portrait_composition_tests
echo "== Batch runs and portrait workers under ThreadSanitizer"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 "$tsan/tests/app/app_photo_tests" --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  "$tsan/tests/portrait/portrait_composition_tests" --gtest_brief=1

# Clang (Release, warnings as errors) with its tests, the Debian package made from the same tree
# (lintian, then installed into a temporary root and run by the package test), and the core
# compiled for Windows with MinGW-w64, syntax only. The program's sources are built as a unity
# build, as the demo builds them, so that two files' helpers of one name are found here.
clang="$here/build/clang"
echo "== Clang build and the Debian package"
bash "$here/scripts/package.sh" "$clang" -DCMAKE_C_COMPILER=clang-16 -DCMAKE_CXX_COMPILER=clang++-16 \
  -DLIKENTOR_TESTS=ON -DLIKENTOR_WERROR=ON -DLIKENTOR_PACKAGE_TEST=ON -DCMAKE_UNITY_BUILD=ON
echo "== Windows syntax check of the core (MinGW-w64)"
cmake --build "$clang" --target windows_syntax_check
echo "== The Clang build's tests"
(cd "$clang" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 900 \
  >ctest.log 2>&1) || { cat "$clang/ctest.log"; exit 1; }
tail -n 3 "$clang/ctest.log"

# Robustness: load and photos killed at random moments on the Clang tree (Release, so that forty
# kills with their reruns stay short), photos with backups and undo killed and then undone, art-pack
# install and uninstall killed and finished by the next command, then
# the fuzz harnesses, 30 seconds each.
echo "== Crash consistency"
LIKENTOR_BUILD="$clang" bash "$here/scripts/crash_test.sh" 20 13
echo "== Undo after kills"
LIKENTOR_BUILD="$clang" bash "$here/scripts/undo_crash_test.sh" 20 17
echo "== Packs after kills"
LIKENTOR_BUILD="$clang" bash "$here/scripts/pack_crash_test.sh" 20 23
echo "== Fuzzing"
bash "$here/scripts/fuzz.sh" 30

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
