#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tarnwick
# needs. Safe to run again. --bench adds the benchmark's tools, --fuzz the
# fuzzing compiler and its runtime.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libfreeimage-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libarchive-dev zlib1g-dev
  libgtest-dev
  fonts-liberation fonts-dejavu-core fontconfig tzdata
  python3 python3-pil imagemagick
  xvfb xauth
  libjpeg-turbo-progs
)
for option in "$@"; do
  case "$option" in
    --bench) packages+=(graphicsmagick time hyperfine) ;;
    --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
  esac
done

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${packages[@]}"
