#!/bin/sh
# Configures and builds one flavour: build.sh DIR [extra cmake arguments...]
set -e
dir=$1; shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
