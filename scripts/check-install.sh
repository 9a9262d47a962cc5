#!/bin/sh
# check-install.sh DEB [DIR]
#
# Installs the Debian package on a fresh Debian 12 system with apt and
# removes it again, as a user would: a minimal bookworm made by debootstrap
# in DIR (a new temporary folder by default) and entered with chroot. Once
# installed, drovane --version, drovane-analyze --demo and a headless tuner
# run must work; once removed, no file of the package may be left. Then
# autoremove takes the dependencies away again and the files that still
# differ from before the installation are listed. Run by hand, as root,
# with a Debian mirror at hand (MIRROR, by default
# http://deb.debian.org/debian); it takes a few minutes. Exit status 0 when
# all holds, 1 when not, 2 on a usage error.
set -eu
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 DEB [DIR]" >&2
  exit 2
fi
deb=$(realpath "$1")
[ "$(id -u)" = 0 ] || { echo "$0: debootstrap and chroot need root" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "$0: needs debootstrap (apt-get install debootstrap)" >&2; exit 2; }
dir=${2:-$(mktemp -d "${TMPDIR:-/tmp}/drovane-install.XXXXXX")}
log=$dir.log
failed=0
fail() { echo "FAILED: $*"; failed=1; }
in_chroot() { chroot "$dir" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
# Every file and folder but those of the kernel, scratch, logs and package caches.
files() {
  in_chroot find / -xdev \( -path /proc -o -path /tmp -o -path /var/log -o -path /var/cache \
    -o -path /var/lib/apt -o -path /var/lib/dpkg \) -prune -o -print | sort
}

echo "== debootstrap bookworm into $dir (log: $log)"
debootstrap --variant=minbase bookworm "$dir" "${MIRROR:-http://deb.debian.org/debian}" >"$log" 2>&1 ||
  { tail "$log"; exit 1; }
cp /etc/resolv.conf "$dir/etc/resolv.conf"
mount -t proc proc "$dir/proc"
trap 'umount "$dir/proc"' EXIT
cp "$deb" "$dir/tmp/"
in_chroot apt-get update -qq >>"$log"
files >"$dir.before"

echo "== apt-get install ./$(basename "$deb")"
in_chroot sh -c 'cd /tmp && DEBIAN_FRONTEND=noninteractive apt-get install -y ./drovane_*.deb' >>"$log" 2>&1 ||
  fail "apt-get install"
in_chroot dpkg -L drovane >"$dir.ours"
in_chroot drovane --version || fail "drovane --version"
in_chroot drovane-analyze --demo >"$dir.analysis" || fail "drovane-analyze --demo"
tail -n 3 "$dir.analysis"
in_chroot drovane --screen headless --capture demo --duration 3 --screenshot /tmp/screen.png >/dev/null ||
  fail "headless tuner run"
[ -s "$dir/tmp/screen.png" ] || fail "no screenshot from the headless run"

echo "== apt-get remove drovane"
in_chroot apt-get remove -y drovane >>"$log" 2>&1 || fail "apt-get remove"
while read -r path; do
  [ -d "$dir$path" ] && continue
  if [ -e "$dir$path" ] || [ -L "$dir$path" ]; then fail "left behind: $path"; fi
done <"$dir.ours"
left=$(in_chroot find / -xdev \( -path /proc -o -path /tmp -o -path /var/log \) -prune -o \
  \( -iname '*drovane*' -o -iname '*quorla*' \) -print)
[ -z "$left" ] || fail "left behind: $left"
in_chroot dpkg -s drovane >/dev/null 2>&1 && fail "dpkg still knows drovane"

echo "== apt-get autoremove --purge"
in_chroot apt-get autoremove --purge -y >>"$log" 2>&1 || fail "apt-get autoremove"
files >"$dir.after"
echo "files that differ from before the installation (left by the dependencies' own scripts):"
diff "$dir.before" "$dir.after" | grep '^[<>]' || echo "  none"
echo "$(grep -c . "$dir.ours") paths installed by the package; chroot in $dir"
[ $failed = 0 ] && echo "all held"
exit $failed
