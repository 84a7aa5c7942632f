#!/usr/bin/env bash
# Builds the libFuzzer harnesses into build-fuzz (clang 14; coverage, ASan and
# UBSan over the whole code) and runs each one for the given number of
# seconds on a fresh copy of its seed corpus, one after the other.
#
#   fuzz/run.sh [seconds-per-harness]     (default 60; 7 makes a smoke run)
#
# Exits non-zero when any harness crashed, leaked, hung or made a sanitizer
# report. Each harness's log, grown corpus and any crashing input stay in
# build-fuzz/fuzz-run/<harness>/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: fuzz/run.sh [seconds-per-harness]" >&2
  exit 2
fi

build=$root/build-fuzz
harnesses=(fuzz_ini fuzz_params fuzz_mask fuzz_convert)

export CC=clang-14 CXX=clang++-14
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DTARNWICK_FUZZ=ON -DTARNWICK_TESTS=OFF >/dev/null
ninja -C "$build" -j2 "${harnesses[@]}"

export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Any of these in a log is a failure, whatever the exit code says.
reports='ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|SUMMARY: (Address|Leak|UndefinedBehavior)Sanitizer|fuzz check failed'

run_dir=$build/fuzz-run
rm -rf "$run_dir"
failed=()
for harness in "${harnesses[@]}"; do
  dir=$run_dir/$harness
  mkdir -p "$dir/corpus" "$dir/artifacts"
  cp "$root/fuzz/corpus/$harness/"* "$dir/corpus/"
  # The parameter harness reads "--profile=p.ini" from its working folder.
  cp "$root/fuzz/corpus/fuzz_ini/profile_cli.ini" "$dir/p.ini"

  rc=0
  (cd "$dir" && exec "$build/bin/$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "$dir/corpus" </dev/null >"$dir/log" 2>&1) &
  pid=$!
  wait "$pid" || rc=$?
  # A harness that died leaves its scratch folder behind.
  rm -rf /dev/shm/tarnwick-fuzz."$pid".* /tmp/tarnwick-fuzz."$pid".*

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$dir/log" | tail -n 1)
  units=$(find "$dir/corpus" -type f | wc -l)
  if [[ $rc -ne 0 ]] || grep -Eq "$reports" "$dir/log" || [[ -n $(ls -A "$dir/artifacts") ]]; then
    failed+=("$harness")
    echo "$harness: FAILED (exit $rc) after ${runs:-?} runs; log: $dir/log"
    grep -E -m 5 "$reports|deadly signal|timeout|out-of-memory" "$dir/log" | sed 's/^/  /' || true
    for artifact in "$dir/artifacts/"*; do [[ -e $artifact ]] && echo "  input: $artifact"; done
  else
    echo "$harness: ok, ${runs:-?} runs in ${took:-$seconds} s, corpus of $units"
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "failed: ${failed[*]}"
  exit 1
fi
echo "all harnesses ran clean"
