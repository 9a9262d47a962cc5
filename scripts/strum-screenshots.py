#!/usr/bin/env python3
"""The strum screen after two strums rendered by FluidSynth, for the docs:
one with the guitar in tune, one with G3 15 cents sharp and B3 25 flat.

    scripts/strum-screenshots.py [--build DIR] [--out DIR]

Renders as scripts/strum-accuracy.py does (same packages), then runs
`drovane --strum` headless on each strum and keeps its last screen.
"""
import argparse
import importlib.util
import os
import subprocess
import tempfile
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
STRUMS = {"strum-in-tune": [0, 0, 0, 0, 0, 0], "strum-two-off": [0, 0, 0, 15, -25, 0]}


def accuracy_script():
    spec = importlib.util.spec_from_file_location("strum_accuracy", os.path.join(HERE, "strum-accuracy.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def render_strum(sa, cents, wav, work):
    """Steel strings struck 30 ms apart, lowest first, each `cents` off."""
    strings = [(s, 25, sa.TARGETS[s], cents[s], sa.ONSET + 0.03 * s, 100) for s in range(6)]
    raw = os.path.join(work, "strum.raw")
    sa.render(sa.midi_file(strings), raw, work)
    with open(raw, "rb") as f, wave.open(wav, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(sa.RATE)
        w.writeframes(f.read())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build", "release"))
    parser.add_argument("--out", default=os.path.join(HERE, "..", "docs", "screenshots"))
    args = parser.parse_args()
    sa = accuracy_script()
    sa.ensure_packages()
    os.makedirs(args.out, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="drovane-strum-shots.") as work:
        for name, cents in STRUMS.items():
            wav = os.path.join(work, name + ".wav")
            render_strum(sa, cents, wav, work)
            png = os.path.join(args.out, name + ".png")
            subprocess.run([os.path.join(args.build, "app", "drovane"), "--strum", "--screen", "headless",
                            "--capture", wav, "--screenshot", png], check=True, stdout=subprocess.DEVNULL)
            print(png)


if __name__ == "__main__":
    main()
