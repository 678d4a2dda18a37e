#!/usr/bin/env python3
"""Benchmarks of zarnotek and felskaro against a plain copy of the same bytes.

Generates a large, realistic workload in a temporary directory, runs every
operation several times and prints, per operation, the median wall time, the
median time of `cat` copying the same source bytes into one file in the same
run, their ratio and the target; and the peak resident memory of `link`
against the total sample bytes.

Usage: bench/bench.py BUILD_DIR [RUNS]
"""
import os
import random
import statistics
import struct
import subprocess
import sys
import tempfile
import time

MAGIC = bytes.fromhex("4144 5043 4D20 4441 5441 2066 6F72 2020 504D 4420 7665 722E 342E 342D 2020")


def wave(samples, rate):
    fmt = struct.pack("<4sIHHIIHH", b"fmt ", 16, 1, 1, rate, rate, 1, 8)
    info = b"INFOISFT" + struct.pack("<I", 6) + b"bench\0"
    lst = b"LIST" + struct.pack("<I", len(info)) + info
    body = b"WAVE" + lst + fmt + b"data" + struct.pack("<I", len(samples)) + samples
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def make_workload(root, rng):
    """Returns the inputs of every operation."""
    samples = []
    lines = []
    for bank in range(16):
        lines.append("*\tbank%02d.pzi\t%d" % (bank, bank))
        for tone in range(128):
            size = rng.randrange(4096, 65537)
            data = rng.randbytes(size)
            kind = (bank * 128 + tone) % 3
            if kind == 0:
                name = "s%02d_%03d.wav" % (bank, tone)
                write(os.path.join(root, name), wave(data, 8000 + tone * 100))
            elif kind == 1:
                name = "s%02d_%03d.pc8" % (bank, tone)
                write(os.path.join(root, name), data)
            else:
                name = "s%02d_%03d.ppi" % (bank, tone)
                write(os.path.join(root, name), data)
            samples.append(name)
            rate = "\t%d" % (11025 + tone) if tone % 4 == 0 else ""
            loop = "\t%d\t%d" % (0, size - 1) if tone % 8 == 0 else ""
            lines.append("%d\t%s%s%s" % (tone + bank, name, rate if rate or not loop else "\t", loop))
    write(os.path.join(root, "banks.lxi"), ("\r\n".join(lines) + "\r\n").encode())

    # linkppc: 255 raw ADPCM files filling a bank to its 260928-byte limit
    blocks_left = 8121
    adpcm = []
    ppc_lines = ["*\tfull.ppc"]
    for tone in range(255):
        blocks = 31 if tone < 254 else blocks_left
        blocks_left -= blocks
        name = "a%03d.adp" % tone
        write(os.path.join(root, name), rng.randbytes(blocks * 32))
        adpcm.append(name)
        ppc_lines.append("%d\t%s" % (254 - tone, name))
    write(os.path.join(root, "full.lxi"), ("\n".join(ppc_lines) + "\n").encode())

    # felskaro: 256 elements taken from four banks of 64 elements each
    banks = []
    for b in range(4):
        entries = bytearray(1024)
        data = bytearray()
        address = 38
        for n in range(64):
            blocks = 31 if b < 3 else 30
            entries[4 * n:4 * n + 4] = struct.pack("<HH", address, address + blocks - 1)
            address += blocks
            data += rng.randbytes(blocks * 32)
        size = 1056 + len(data)
        name = "SRC%d.PPC" % b
        write(os.path.join(root, name), MAGIC + struct.pack("<H", (size + 160) // 32) + entries + data)
        banks.append(name)
    mix_lines = ["*\tmix.ppc"]
    for tone in range(256):
        mix_lines.append("%d\t%s\t%d" % (255 - tone, banks[tone % 4], tone // 4))
    write(os.path.join(root, "mix.lxi"), ("\n".join(mix_lines) + "\n").encode())
    return samples, adpcm, banks


def timed(cmd, cwd, out=None, outputs=()):
    """Wall time and peak RSS (KiB) of one run. The run's outputs are removed
    and the file system synced first, so every run (tool and copy alike)
    creates its files anew instead of paying for truncating the last run's."""
    for name in outputs + ((os.path.basename(out),) if out else ()):
        path = os.path.join(cwd, name)
        if os.path.exists(path):
            os.remove(path)
    os.sync()
    sink = open(out, "wb") if out else subprocess.DEVNULL
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, cwd=cwd, stdout=sink, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if out:
        sink.close()
    if status != 0:
        sys.exit("bench: %s failed with status %d" % (" ".join(cmd), status))
    return elapsed, usage.ru_maxrss


def median_of(runs, cmd, cwd, out=None, outputs=()):
    times, peaks = [], []
    for _ in range(runs):
        t, rss = timed(cmd, cwd, out, outputs)
        times.append(t)
        peaks.append(rss)
    return statistics.median(times), max(peaks)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    zarnotek = os.path.join(build, "zarnotek")
    felskaro = os.path.join(build, "felskaro")
    rng = random.Random(20261211)
    with tempfile.TemporaryDirectory(prefix="drevna-bench-") as root:
        samples, adpcm, banks = make_workload(root, rng)
        sample_bytes = sum(os.path.getsize(os.path.join(root, s)) for s in samples)
        # link first: the other operations read what it writes
        timed([zarnotek, "link", "banks.lxi"], root)
        largest = max((f for f in os.listdir(root) if f.endswith(".pzi")),
                      key=lambda f: os.path.getsize(os.path.join(root, f)))
        timed([zarnotek, "linkppc", "full.lxi"], root)
        mix_sources = [l.split("\t")[1] for l in open(os.path.join(root, "mix.lxi")).read().splitlines()[1:]]
        pzi_outputs = tuple("bank%02d.pzi" % b for b in range(16))
        cases = [
            ("zarnotek link", [zarnotek, "link", "banks.lxi"], samples, 1.3, pzi_outputs),
            ("zarnotek inspect", [zarnotek, "inspect", largest], [largest], 2.0, ()),
            ("zarnotek pzi2p86", [zarnotek, "pzi2p86", largest], [largest], 2.0,
             (largest[:-3] + "P86",)),
            ("zarnotek linkppc", [zarnotek, "linkppc", "full.lxi"], adpcm, 2.0, ("full.ppc",)),
            ("felskaro link", [felskaro, "link", "mix.lxi"], mix_sources, 2.0, ("mix.ppc",)),
            ("felskaro view", [felskaro, "view", "full.ppc"], ["full.ppc"], 2.0, ()),
        ]
        print("workload: %d samples, %.1f MiB of sample bytes; %d ADPCM files; "
              "%d elements from %d banks; %d runs each, median"
              % (len(samples), sample_bytes / 2**20, len(adpcm), len(mix_sources), len(banks), runs))
        print("%-18s %10s %10s %7s %7s" % ("operation", "tool ms", "cat ms", "ratio", "target"))
        failed = False
        link_peak = 0
        for name, cmd, sources, target, outputs in cases:
            tool, peak = median_of(runs, cmd, root, outputs=outputs)
            copy, _ = median_of(runs, ["cat"] + sources, root, os.path.join(root, "copy.bin"))
            ratio = tool / copy
            if name == "zarnotek link":
                link_peak = peak
            mark = "" if ratio <= target else "  MISSED"
            failed |= ratio > target
            print("%-18s %10.1f %10.1f %7.2f %7.1f%s" % (name, tool * 1000, copy * 1000, ratio, target, mark))
        limit = 2 * sample_bytes / 1024 + 8 * 1024
        mark = "" if link_peak <= limit else "  MISSED"
        failed |= link_peak > limit
        print("zarnotek link peak RSS: %.1f MiB for %.1f MiB of samples (target <= %.1f MiB)%s"
              % (link_peak / 1024, sample_bytes / 2**20, limit / 1024, mark))
        return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
