#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into fuzz/corpus/<target>/."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGIC = bytes.fromhex("4144 5043 4D20 4441 5441 2066 6F72 2020 504D 4420 7665 722E 342E 342D 2020")


def wave(samples, rate=16540, tag=1, channels=1, bits=8, align=1, pre=b""):
    fmt = struct.pack("<4sIHHIIHH", b"fmt ", 16, tag, channels, rate, rate, align, bits)
    data = b"data" + struct.pack("<I", len(samples)) + bytes(samples)
    body = b"WAVE" + pre + fmt + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def pzi(tones, data):
    b = bytearray(2336)
    b[0:4] = b"PZI1"
    for n, off, length, ls, le, rate in tones:
        b[32 + 18 * n: 50 + 18 * n] = struct.pack("<IiiiH", off, length, ls, le, rate)
    return bytes(b) + data


def ppc(entries, data, next_address=None):
    size = 1056 + len(data)
    if next_address is None:
        next_address = (size + 160) // 32
    b = bytearray(MAGIC + struct.pack("<H", next_address) + bytes(1024))
    for n, (start, end) in entries.items():
        b[32 + 4 * n: 36 + 4 * n] = struct.pack("<HH", start, end)
    return bytes(b) + data


SEEDS = {
    "fuzz_pzi_list": [
        b"; list\n*\ta.pzi\n0\tx.wav\n3\ty.pc8\t8000\t1\t2\n",
        b"*\ta.pzi\t36\r\n36\tw.WAV\t70000\r\n\r\n*x\tb.pzi\r\n5\tz.ppi\t\t\t\r\n",
        b"*\n", b"1\tx.wav\n", b"*\ta\t1\n0\tq.pc8\n129\tr.ppi\n",
        b"".join(b"*\tb%d.pzi\n" % i for i in range(17)),
    ],
    "fuzz_wave": [
        wave(range(40)),
        wave(range(10), tag=0xFFFE, rate=65536),
        wave(range(7), pre=b"LIST\x05\x00\x00\x00abcde\x00"),
        b"RIFF\x04\x00\x00\x00WAVE", b"RIFX", wave([], channels=2, bits=16, align=4),
    ],
    "fuzz_pzi_report": [
        pzi([(0, 0, 10, -1, -1, 16540), (5, 10, 4, 1, 3, 8000)], bytes(14)),
        pzi([], b""), pzi([(127, 0xFFFFFFF0, 5, -1, 2, 1)], bytes(5)),
        pzi([(1, 0, 0x7FFFFFFF, -1, -1, 1)], b""),
    ],
    "fuzz_pzi2p86": [
        pzi([(3, 0, 100, -1, -1, 16540), (7, 100, 50, 0, 9, 0)], bytes(range(150))),
        pzi([], b""), pzi([(0, 0, 20, -1, -1, 1), (1, 5, 10, -1, -1, 1)], bytes(30)),
        pzi([(2, 0, -5, -1, -1, 1)], bytes(4)),
    ],
    "fuzz_linkppc_list": [
        b"; bank\n*\tout.ppc\n3\ta.adp\n1\tb.adp\n",
        b"*\tx.ppc\t\n1\ta\t\n999\tb\n", b"*\r\n", b"1\ta\n*\tx\n", b"*\ta\n*\tb\n",
        b"*\tx.ppc\n007\tq\n-1\tz\nabc\ty\n\x1a1\tw\n",
    ],
    "fuzz_felskaro_list": [
        (lambda l, s: struct.pack("<H", len(l)) + l + s)(
            b"*\tout.ppc\n1\tS.PPC\t3\n2\tr.adp\n0\tS.PPC\n",
            ppc({0: (38, 38), 3: (39, 40)}, bytes(96))),
        (lambda l, s: struct.pack("<H", len(l)) + l + s)(
            b"; c\n*\n*\to\n4\tS.PPC\t300\n", ppc({0: (4, 40), 1: (40, 30)}, bytes(32), 9)),
        (lambda l, s: struct.pack("<H", len(l)) + l + s)(b"*\to\n\t\n12x\tr.adp\t\n", bytes(33)),
    ],
    "fuzz_view": [
        ppc({}, b""), ppc({5: (38, 39)}, bytes(64)),
        ppc({1: (0, 50), 200: (10, 0), 255: (40, 39)}, bytes(64), 38), bytes(1055),
    ],
}

for target, seeds in SEEDS.items():
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for i, seed in enumerate(seeds):
        with open(os.path.join(folder, "seed%02d" % i), "wb") as f:
            f.write(bytes(seed))
