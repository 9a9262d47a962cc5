#!/usr/bin/env python3
"""Accuracy of the strum check, by hand: synthetic strums, then strums
rendered by FluidSynth with a General MIDI soundfont from Debian.

    scripts/strum-accuracy.py [--build DIR] [--strums N] [--seed S] [--cents C] [--keep DIR] [-v]

Each rendered strum plays the six strings of a standard-tuned guitar on six
MIDI channels, each detuned by its own pitch bend (a random -C..+C cents, 40
unless given; --cents 0 is a guitar in tune),
struck 20-40 ms apart up or down, one or two strings left unplayed in a
third of the strums each. The truth of each string is what the strum check
reads of that string rendered alone. Needs the Debian packages fluidsynth and
fluid-soundfont-gm (installed here when run as root) and a Release build with
bench/strum/strum_accuracy.
"""
import argparse
import array
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

PACKAGES = ["fluidsynth", "fluid-soundfont-gm"]
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
RATE = 22050
TARGETS = [40, 45, 50, 55, 59, 64]
TICKS = 480                  # per quarter note
TEMPO = 500000               # microseconds per quarter note
ONSET = 0.3                  # seconds before the strum
LENGTH = 2.5                 # seconds each string is held


def ensure_packages():
    if shutil.which("fluidsynth") and os.path.exists(SOUNDFONT):
        return
    if os.geteuid() != 0:
        sys.exit("strum-accuracy: install the Debian packages %s first (as root)" % " ".join(PACKAGES))
    subprocess.run(["apt-get", "install", "-y", "-qq", "--no-install-recommends"] + PACKAGES, check=True,
                   env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def ticks(seconds):
    return round(seconds * 1e6 / TEMPO * TICKS)


def midi_file(strings):
    """strings: (channel, program, note, cents, onset_s, velocity) per played string."""
    events = [(0, bytes([0xFF, 0x51, 3]) + TEMPO.to_bytes(3, "big"))]
    for channel, program, note, cents, onset, velocity in strings:
        bend = max(0, min(16383, round(8192 + cents / 200 * 8192)))
        setup = [bytes([0xC0 | channel, program]),
                 # Pitch-bend range 2 semitones (RPN 0), then the RPN closed.
                 bytes([0xB0 | channel, 101, 0]), bytes([0xB0 | channel, 100, 0]),
                 bytes([0xB0 | channel, 6, 2]), bytes([0xB0 | channel, 38, 0]),
                 bytes([0xB0 | channel, 101, 127]), bytes([0xB0 | channel, 100, 127]),
                 bytes([0xB0 | channel, 91, 0]), bytes([0xB0 | channel, 93, 0]),
                 bytes([0xE0 | channel, bend & 0x7F, bend >> 7])]
        events += [(0, e) for e in setup]
        events.append((ticks(onset), bytes([0x90 | channel, note, velocity])))
        events.append((ticks(onset + LENGTH), bytes([0x80 | channel, note, 0])))
    events.sort(key=lambda e: e[0])
    track, now = b"", 0
    for at, event in events:
        track += variable_length(at - now) + event
        now = at
    track += variable_length(ticks(0.5)) + bytes([0xFF, 0x2F, 0])
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, TICKS) + b"MTrk" + struct.pack(">I", len(track)) + track)


def render(midi, out_raw, work):
    """Renders a MIDI file to 16-bit mono raw samples at the tuner's rate."""
    mid, stereo = os.path.join(work, "render.mid"), os.path.join(work, "render.raw")
    with open(mid, "wb") as f:
        f.write(midi)
    subprocess.run(["fluidsynth", "-ni", "-q", "-g", "0.5", "-r", str(RATE), "-R", "0", "-C", "0",
                    "-T", "raw", "-O", "s16", "-F", stereo, SOUNDFONT, mid],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    samples = array.array("h")
    with open(stereo, "rb") as f:
        samples.frombytes(f.read())
    if sys.byteorder != "little":
        samples.byteswap()
    mono = array.array("h", ((samples[i] + samples[i + 1]) // 2 for i in range(0, len(samples) - 1, 2)))
    if sys.byteorder != "little":
        mono.byteswap()
    with open(out_raw, "wb") as f:
        f.write(mono.tobytes())


def make_rendered(directory, count, seed, detune):
    rng = random.Random(seed)
    with open(os.path.join(directory, "strums.csv"), "w") as csv:
        csv.write("strum,onset_s,string,played,cents\n")
        for k in range(count):
            program = 25 if k % 2 == 0 else 24          # steel, nylon
            unplayed = set(rng.sample(range(6), k % 3))
            order = list(range(6)) if rng.random() < 0.5 else list(range(5, -1, -1))
            at, strings = ONSET, []
            for s in order:
                cents = rng.uniform(-detune, detune)
                if s not in unplayed:
                    strings.append((s, program, TARGETS[s], cents, at, rng.randint(90, 110)))
                at += rng.uniform(0.020, 0.040)
            render(midi_file(strings), os.path.join(directory, "strum-%03d.raw" % k), directory)
            played = {string[0]: string for string in strings}
            for s in range(6):
                if s in played:
                    render(midi_file([played[s]]), os.path.join(directory, "strum-%03d-%d.raw" % (k, s + 1)), directory)
                cents = "%.2f" % played[s][3] if s in played else ""
                csv.write("%03d,%.4f,%d,%d,%s\n" % (k, ONSET, s + 1, s in played, cents))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build", "release"))
    parser.add_argument("--strums", type=int, default=100)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--cents", type=float, default=40, help="detune each string by at most C cents")
    parser.add_argument("--keep", help="render into DIR and keep it")
    parser.add_argument("-v", action="store_true", help="list each string read wrongly or missed")
    args = parser.parse_args()
    tool = os.path.join(args.build, "bench", "strum", "strum_accuracy")
    if not os.access(tool, os.X_OK):
        sys.exit("strum-accuracy: %s is not built" % tool)
    verbose = ["-v"] if args.v else []
    subprocess.run([tool] + verbose + ["synthetic", str(2 * args.strums), str(args.seed), str(args.cents)], check=True)
    ensure_packages()
    directory = args.keep or tempfile.mkdtemp(prefix="drovane-strums.")
    os.makedirs(directory, exist_ok=True)
    try:
        make_rendered(directory, args.strums, args.seed, args.cents)
        subprocess.run([tool] + verbose + ["rendered", directory], check=True)
    finally:
        if not args.keep:
            shutil.rmtree(directory, ignore_errors=True)


if __name__ == "__main__":
    main()
