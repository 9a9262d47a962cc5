#!/bin/sh
# Installs the Debian packages Drovane needs to build, run and test (run as root).
set -e
packages="build-essential cmake ninja-build pkg-config
  libsdl2-dev libcairo2-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libsndfile1-dev libsoxr-dev libgtest-dev libgmock-dev libbenchmark-dev python3
  libx11-dev xvfb xauth xdotool x11-utils
  pulseaudio pulseaudio-utils
  pipewire pipewire-bin wireplumber pipewire-pulse pipewire-jack dbus-daemon
  jackd2 libjack-jackd2-dev stress-ng
  help2man dpkg-dev file lintian man-db desktop-file-utils appstream bash-completion"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  # jackd2 asks whether to allow real-time priority; the tests' servers run as
  # whoever runs them and need no such grant.
  echo "jackd2 jackd/tweak_rt_limits boolean false" | debconf-set-selections
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends $missing
fi
