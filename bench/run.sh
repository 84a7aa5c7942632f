#!/usr/bin/env bash
# The benchmark in one command: builds tarnwick (Release) and the bare
# FreeImage program, makes the test images, then times everything.
# Usage: bench/run.sh [rounds]   (install the tools: scripts/setup.sh --bench)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-7}"
build=build-bench
work="$build/bench"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF >/dev/null
cmake --build "$build" >/dev/null
mkdir -p "$work"
g++ -O2 -o "$work/bare_convert" bench/bare_convert.cpp -lfreeimage
g++ -O2 -o "$work/make_images" bench/make_images.cpp -lfreeimage
[[ -f "$work/big.jpg" ]] || "$work/make_images" "$work/big.jpg" 6000 4000
[[ -f "$work/small.jpg" ]] || "$work/make_images" "$work/small.jpg" 256 256
/usr/bin/python3 bench/bench.py "$build" "$work" "$rounds"
