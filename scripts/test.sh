#!/bin/sh
# Installs what is needed, builds three times (Release with warnings as
# errors; AddressSanitizer + UndefinedBehaviorSanitizer; ThreadSanitizer) and
# runs the whole suite in each.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DDROVANE_WERROR=ON
ctest --test-dir "$root/build/release" --output-on-failure -j "$(nproc)"
"$root/scripts/build.sh" "$root/build/asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVANE_SANITIZE=ON -DDROVANE_WERROR=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build/asan" --output-on-failure -j "$(nproc)"
# A report fails the test that made it (the sanitizer's exit status 66);
# the suppressions leave the sound libraries' own races aside.
"$root/scripts/build.sh" "$root/build/tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVANE_SANITIZE_THREADS=ON \
  -DDROVANE_WERROR=ON
TSAN_OPTIONS="suppressions=$root/tests/tsan-suppressions.txt" \
  ctest --test-dir "$root/build/tsan" --output-on-failure -j "$(nproc)"
