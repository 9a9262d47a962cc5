#!/bin/sh
# Installs what is needed, builds twice (Release with warnings as errors, and
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs the whole suite in both.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DDROVANE_WERROR=ON
ctest --test-dir "$root/build/release" --output-on-failure -j "$(nproc)"
"$root/scripts/build.sh" "$root/build/asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVANE_SANITIZE=ON -DDROVANE_WERROR=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build/asan" --output-on-failure -j "$(nproc)"
