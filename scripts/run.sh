#!/bin/sh
# Installs what is needed, builds in Release and runs the tuner's analyser on
# the built-in demo recording (pass other analyser options to change that).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release
[ $# -gt 0 ] || set -- --demo
exec "$root/build/release/tools/drovane-analyze" "$@"
