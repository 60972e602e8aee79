#!/usr/bin/env bash
# Builds the editor and every test with AddressSanitizer and UndefinedBehaviorSanitizer (gcc) in
# build-asan and runs the whole test suite there; any report ends the test that made it.
#   bash scripts/sanitize.sh
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build-asan"
flags="-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer"

echo "sanitize: configuring $build with $flags"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DSKIZZAR_BUILD_TESTS=ON -DSKIZZAR_BUILD_BENCH=OFF >/dev/null
echo "sanitize: building"
cmake --build "$build" -j"$(nproc)"

echo "sanitize: running ctest in $build (leaks detected; halt on the first report)"
cd "$build"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The Debian package is the normal build's; linting this build's instrumented program only costs time.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --exclude-regex '^app/Package$'
