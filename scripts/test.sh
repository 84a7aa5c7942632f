#!/usr/bin/env bash
# From a fresh Debian 12 machine: installs what Tarnwick needs, builds it
# and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$(nproc)"
