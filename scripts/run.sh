#!/bin/sh
# Installs what is needed, builds in Release and starts the tuner. On a
# desktop with a microphone it opens its window live; on a machine without a
# display it runs headless on the built-in demo recording, prints what the
# screen shows and saves it as drovane-screen.png (and says so). Arguments
# are the device's options (see --help).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release
exec "$root/build/release/app/drovane" "$@"
