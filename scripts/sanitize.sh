#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehavior-
# Sanitizer into ./build-asan and runs it with ctest. Any report fails the
# test that made it: UBSan halts at the first finding and LeakSanitizer
# checks every test process at its exit. Extra arguments go to ctest
# (for example -R pipeline_test).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-asan
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" -DCMAKE_MODULE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DTARNWICK_TESTS=ON >/dev/null
ninja -C "$build" -j2

# fontconfig keeps what it allocates while it parses its configuration for
# the whole process, and LeakSanitizer counts that; nothing of ours is
# suppressed.
printf 'leak:libfontconfig.so\n' >"$build/lsan.supp"
export LSAN_OPTIONS=suppressions=$PWD/$build/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
ctest --test-dir "$build" --output-on-failure -j2 "$@"
