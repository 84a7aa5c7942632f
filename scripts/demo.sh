#!/usr/bin/env bash
# From a fresh Debian 12 machine: installs what Tarnwick needs, builds it
# and converts the bundled sample photo into out/sample.tga.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
mkdir -p out
./build/bin/tarnwick -i samples/sample.jpg -o "$PWD/out" -d
ls -l out/sample.tga
