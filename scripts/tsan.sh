#!/usr/bin/env bash
# Builds with ThreadSanitizer into ./build-tsan and runs the tests in which
# threads meet: the worker and its progress values and stop requests, the
# pipeline it drives, and the console run that starts and joins it. A data
# race or lock-order report fails the test. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-tsan
tests=(worker_test pipeline_test console_test)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=thread" -DCMAKE_MODULE_LINKER_FLAGS="-fsanitize=thread" \
  -DTARNWICK_TESTS=ON >/dev/null
ninja -C "$build" -j2 "${tests[@]}"

export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
pattern=$(IFS='|'; echo "^(${tests[*]})\$")
ctest --test-dir "$build" --output-on-failure -j2 -R "$pattern" "$@"
