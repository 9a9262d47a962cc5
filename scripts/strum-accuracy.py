#!/usr/bin/env python3
"""Accuracy of the strum check, by hand, on the project's own material.

    scripts/strum-accuracy.py [--build DIR] [--cache DIR] [--part tuning|held-out|both]
                              [--strums N] [--only MATERIAL] [--kind KIND] [--tunings] [--guitar | --instruments]
                              [--cached] [-v]

Runs the build's bench/strum/strum_accuracy, which renders every take it
has not rendered before into the cache (the string model; FluidR3,
MuseScore's and TimGM6mb's sound fonts through FluidSynth, each string on
its own MIDI channel with its own pitch bend) and reads each take clean and
through a laptop's microphone in a room. It prints, for each material,
condition and strum kind (and tuning, with --tunings): strums, strums not
found, strums found that were none, ringing strings, the share missed,
strings read more than 50 cents off ("wrong"), muted strings heard, the
median and 95th percentile of the error in cents, and the share missed at
each string position (with -v, each string missed or far off, each strum
not found or read more than a second after it); then
the confidence of the readings against their error, the time from strum to
reading and the speed against real time. The other instruments (basses
of four and five strings, from the string model's bass and the General MIDI
basses; the seven-string guitar; the ukulele, on the nylon guitar) are
reported apart, by tuning.

The analyser is tuned on the "tuning" part (the string model's seeds below
100000, FluidR3, MuseScore, the tuning room); the "held-out" part (the
string model's seeds from 100000, TimGM6mb, another room) is kept aside to
report on. Needs the Debian packages fluidsynth, fluid-soundfont-gm,
musescore-general-soundfont-small and timgm6mb-soundfont (installed here
when run as root) and a Release build.
"""
import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGES = ["fluidsynth", "fluid-soundfont-gm", "musescore-general-soundfont-small", "timgm6mb-soundfont"]
FONTS = ["/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/MuseScore_General_Lite.sf3",
         "/usr/share/sounds/sf2/TimGM6mb.sf2"]


def ensure_packages():
    if shutil.which("fluidsynth") and all(os.path.exists(f) for f in FONTS):
        return
    if os.geteuid() != 0:
        sys.exit("strum-accuracy: install the Debian packages %s first (as root)" % " ".join(PACKAGES))
    subprocess.run(["apt-get", "install", "-y", "-qq", "--no-install-recommends"] + PACKAGES, check=True,
                   env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build", "release"))
    cache = os.environ.get("XDG_CACHE_HOME", os.path.expanduser("~/.cache"))
    parser.add_argument("--cache", default=os.path.join(cache, "drovane-material"))
    parser.add_argument("--part", choices=["tuning", "held-out", "both"], default="both")
    parser.add_argument("--strums", type=int, default=4, help="strums a take (twice as many 0.3 s apart)")
    parser.add_argument("--only", help="one material: model, fluidr3, musescore or timgm6mb")
    parser.add_argument("--kind", help="one strum kind: down, up, fast, arpeggio, alone, seq0.3, seq1 or seq2")
    parser.add_argument("--tunings", action="store_true", help="a row per tuning too")
    parser.add_argument("--cached", action="store_true", help="read only the takes already rendered")
    group = parser.add_mutually_exclusive_group()
    group.add_argument("--guitar", action="store_true", help="the guitar's six strings only")
    group.add_argument("--instruments", action="store_true",
                       help="the other instruments only: bass-4, bass-5, seven-string, ukulele")
    parser.add_argument("-v", action="store_true", help="list each string missed or read 3 cents off or more")
    args = parser.parse_args()
    tool = os.path.join(args.build, "bench", "strum", "strum_accuracy")
    if not os.access(tool, os.X_OK):
        sys.exit("strum-accuracy: %s is not built" % tool)
    ensure_packages()
    os.makedirs(args.cache, exist_ok=True)
    for part in ["tuning", "held-out"] if args.part == "both" else [args.part]:
        command = [tool, "--part", part, "--cache", args.cache, "--strums", str(args.strums)]
        command += ["--only", args.only] if args.only else []
        command += ["--kind", args.kind] if args.kind else []
        command += ["--tunings"] if args.tunings else []
        command += ["--guitar"] if args.guitar else ["--instruments"] if args.instruments else []
        command += ["--cached"] if args.cached else []
        command += ["-v"] if args.v else []
        subprocess.run(command, check=True)


if __name__ == "__main__":
    main()
