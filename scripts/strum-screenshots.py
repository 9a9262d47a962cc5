#!/usr/bin/env python3
"""The strum screen after strums of the project's own material, for the docs:
a guitar in tune (FluidR3's steel guitar, each string rendered on its own
channel), one with G3 15 cents sharp and B3 25 flat, one in tune through a
laptop's microphone in a room (the material's room), and one where the strum
check is not sure of a string (the string model in tune: B3 lies on E2's
third partial and was struck too soon after it to be told by its attack),
and a ukulele (re-entrant: its string 1, the high G, above the C of string 2)
with its C bent 8 cents flat and its A 12 sharp (the nylon guitar's own
samples are not exactly in tune: the A reads +9, and the C, whose partials
lie near the G's and E's, is not sure).

    scripts/strum-screenshots.py [--build DIR] [--out DIR] [NAME]...

NAMEs (strum-in-tune, ..., strum-ukulele) make only those screens.

Renders with the build's material/material-render (the sound font needs the
Debian packages fluidsynth and fluid-soundfont-gm, installed here when run as
root), then runs `drovane --strum` headless on each strum and keeps its last
screen.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGES = ["fluidsynth", "fluid-soundfont-gm"]
# name: material-render's options for one strum
STRUMS = {
    "strum-in-tune": ["--source", "fluidr3:26", "--seed", "5", "--strums", "1", "--no-mutes"],
    "strum-two-off": ["--source", "fluidr3:26", "--seed", "5", "--strums", "1", "--no-mutes",
                      "--cents", "0,0,0,15,-25,0"],
    "strum-in-tune-room": ["--source", "fluidr3:26", "--seed", "8", "--strums", "1", "--no-mutes",
                           "--room", "tuning"],
    "strum-not-sure": ["--source", "model", "--seed", "2", "--strums", "1"],
    "strum-ukulele": ["--tuning", "ukulele", "--source", "fluidr3:25", "--seed", "5", "--strums", "1", "--no-mutes",
                      "--cents", "0,-8,0,12"],
}


def ensure_packages():
    if shutil.which("fluidsynth") and os.path.exists("/usr/share/sounds/sf2/FluidR3_GM.sf2"):
        return
    if os.geteuid() != 0:
        sys.exit("strum-screenshots: install the Debian packages %s first (as root)" % " ".join(PACKAGES))
    subprocess.run(["apt-get", "install", "-y", "-qq", "--no-install-recommends"] + PACKAGES, check=True,
                   env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build", "release"))
    parser.add_argument("--out", default=os.path.join(HERE, "..", "docs", "screenshots"))
    parser.add_argument("names", nargs="*", metavar="NAME")
    args = parser.parse_args()
    for name in args.names:
        if name not in STRUMS:
            parser.error("unknown screen %r (expected one of %s)" % (name, ", ".join(STRUMS)))
    ensure_packages()
    render = os.path.join(args.build, "material", "material-render")
    os.makedirs(args.out, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="drovane-strum-shots.") as work:
        for name, options in STRUMS.items():
            if args.names and name not in args.names:
                continue
            tuning = "standard"
            if "--tuning" in options:
                at = options.index("--tuning")
                tuning, options = options[at + 1], options[:at] + options[at + 2:]
            subprocess.run([render, "--out", work, "--name", name, "--tuning", tuning, "--kind", "down"] + options,
                           check=True)
            png = os.path.join(args.out, name + ".png")
            subprocess.run([os.path.join(args.build, "app", "drovane"), "--strum", "--tuning", tuning,
                            "--screen", "headless",
                            "--capture", os.path.join(work, name + ".wav"), "--screenshot", png], check=True,
                           stdout=subprocess.DEVNULL)
            print(png)


if __name__ == "__main__":
    main()
