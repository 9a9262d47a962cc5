#!/usr/bin/env python3
"""Feeds drovane-analyze mutated sound files under the sanitizers, by hand:

    scripts/fuzz-sound-files.py [--seconds 600] [--build build/asan] [--jobs 2]

The build must be a sanitizer build (-DDROVANE_SANITIZE=ON). Seeds are WAV
(16-bit, float, mu-law) and FLAC files at several rates and channel counts;
each run takes one, changes a few bytes, fields or its length, and analyses it
from a file or through a pipe. A run counts as a finding when a sanitizer
speaks, the program dies of a signal, exits with a status other than 0 or 1,
or takes longer than the time limit. Findings are kept, with what the program
said, under the build folder's fuzz-findings/.
"""

import argparse
import concurrent.futures
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import time

LIMIT_SECONDS = 60
INTERESTING = [0, 1, 2, 7, 8, 16, 255, 256, 4000, 22050, 44100, 65535, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF]


def wav(fmt_tag, channels, rate, bits, data):
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", fmt_tag, channels, rate, rate * block, block, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def tone(count, rate, channels):
    for i in range(count):
        v = 0.4 * math.sin(2 * math.pi * 110 * i / rate) + 0.2 * math.sin(2 * math.pi * 330 * i / rate)
        for _ in range(channels):
            yield v


def mu_law(v):
    sign = 0x80 if v < 0 else 0
    x = min(int(abs(v) * 32635) + 132, 32767)
    exponent = max(0, x.bit_length() - 8)
    return ~(sign | exponent << 4 | (x >> (exponent + 3)) & 0x0F) & 0xFF


def write_seeds(folder, build):
    seeds = {
        "pcm16-22050-mono.wav": wav(1, 1, 22050, 16, b"".join(struct.pack("<h", int(v * 32767)) for v in tone(30000, 22050, 1))),
        "pcm16-44100-stereo.wav": wav(1, 2, 44100, 16, b"".join(struct.pack("<h", int(v * 32767)) for v in tone(50000, 44100, 2))),
        "float-48000-mono.wav": wav(3, 1, 48000, 32, b"".join(struct.pack("<f", v) for v in tone(50000, 48000, 1))),
        "mulaw-8000-mono.wav": wav(7, 1, 8000, 8, bytes(mu_law(v) for v in tone(20000, 8000, 1))),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    maker = os.path.join(build, "bench", "tools", "drovane_make_recording")
    for seconds, rate, channels in ((1.5, 22050, 1), (1, 44100, 2)):
        name = os.path.join(folder, "flac-%d-%d.flac" % (rate, channels))
        subprocess.run([maker, str(seconds), name, str(rate), str(channels)], check=True)
    return sorted(os.path.join(folder, n) for n in os.listdir(folder))


def mutate(data, rng):
    data = bytearray(data)
    for _ in range(rng.randint(1, 8)):
        kind = rng.randrange(6)
        at = rng.randrange(64) if rng.random() < 0.5 else rng.randrange(len(data))
        at = min(at, max(0, len(data) - 4))
        if kind == 0:
            data[at] ^= 1 << rng.randrange(8)
        elif kind == 1:
            data[at] = rng.choice([0, 0x7F, 0x80, 0xFF, rng.randrange(256)])
        elif kind == 2:
            data[at:at + 4] = struct.pack("<I", rng.choice(INTERESTING))
        elif kind == 3:
            data[at:at + 4] = struct.pack("<f", rng.choice([math.nan, math.inf, -math.inf, 1e38, -1e38]))
        elif kind == 4 and len(data) > 8:
            del data[rng.randrange(8, len(data)):]
        else:
            piece = data[at:at + rng.randint(1, 256)]
            where = rng.randrange(len(data))
            data[where:where] = piece
    return bytes(data)


def run_one(analyze, seed_path, number, work, findings, base_seed):
    rng = random.Random(base_seed * 1_000_003 + number)
    with open(seed_path, "rb") as f:
        data = mutate(f.read(), rng)
    path = os.path.join(work, "case-%d%s" % (number, os.path.splitext(seed_path)[1]))
    with open(path, "wb") as f:
        f.write(data)
    options = rng.choice([["--csv"], ["--json", "--calibrate"], []])
    piped = rng.random() < 0.2
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:abort_on_error=1",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    command = [analyze] + options + (["-"] if piped else [path])
    try:
        with open(path, "rb") as stdin:
            r = subprocess.run(command, stdin=stdin if piped else subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, env=env, timeout=LIMIT_SECONDS)
        status, err = r.returncode, r.stderr.decode(errors="replace")
    except subprocess.TimeoutExpired:
        status, err = "timeout", ""
    sanitizer = "runtime error" in err or "Sanitizer" in err
    finding = sanitizer or status not in (0, 1)
    if finding:
        kept = os.path.join(findings, os.path.basename(path))
        shutil.copy(path, kept)
        with open(kept + ".txt", "w") as f:
            f.write("%s\nstatus %s\n%s" % (" ".join(command), status, err))
    os.remove(path)
    return os.path.basename(seed_path), status, finding


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=600)
    parser.add_argument("--build", default="build/asan")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    analyze = os.path.join(args.build, "tools", "drovane-analyze")
    if not os.access(analyze, os.X_OK):
        sys.exit("no %s: build it first with -DDROVANE_SANITIZE=ON" % analyze)
    findings = os.path.join(args.build, "fuzz-findings")
    os.makedirs(findings, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        seeds = write_seeds(work, args.build)
        end = time.monotonic() + args.seconds
        counts, statuses, found, number = {}, {}, 0, 0
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            running = set()
            while time.monotonic() < end or running:
                while time.monotonic() < end and len(running) < 2 * args.jobs:
                    seed = seeds[number % len(seeds)]
                    running.add(pool.submit(run_one, analyze, seed, number, work, findings, args.seed))
                    number += 1
                done, running = concurrent.futures.wait(running, return_when=concurrent.futures.FIRST_COMPLETED)
                for d in done:
                    seed, status, finding = d.result()
                    counts[seed] = counts.get(seed, 0) + 1
                    statuses[status] = statuses.get(status, 0) + 1
                    found += finding
    print("%d files in %.0f s; exit statuses %s" % (sum(counts.values()), args.seconds, statuses))
    for seed in sorted(counts):
        print("  %6d from %s" % (counts[seed], seed))
    print("%d findings%s" % (found, " in " + findings if found else ""))
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
