#!/usr/bin/env python3
"""Writes the seed corpus of archive_fuzzer: a control byte, then a file.

Control byte: bit 7 reseals size and checksum, bit 6 limits reads to 7
bytes, bits 0-5 choose the overwrite answers."""
import os
import struct
import sys

SIG = bytes.fromhex("FE81FF80FC83FD82")


def fold(data):
    x = 0
    for b in data:
        s = b - 256 if b >= 0x80 else b
        x = (((x << 1) | (x >> 31)) & 0xFFFFFFFF) ^ (s & 0xFFFFFFFF)
    return x


def archive(entries, program=b"", image=b""):
    table = b""
    data = b""
    for name, body in entries:
        rec = name.ljust(260, b"\0")[:260]
        rec += struct.pack("<II", len(body), 0)
        rec += struct.pack("<QQQ", 0x01D0000000000001, 0x01D0000000000002, 0x01D0000000000003)
        rec += struct.pack("<IIII", 0x20, 0, len(body), 0)
        table += rec
        data += body
    body = table + data
    header = SIG + struct.pack("<II", 0, len(entries)) + program.ljust(264, b"\0")
    header += struct.pack("<II", len(image) + 800 + len(body), fold(body)) + b"\0" * 512
    return image + header + body


seeds = {
    "plain": (0x00, archive([(b"a.txt", b"new a"), (b"sub\\b.txt", b"bee" * 100)], b"a.txt")),
    "existing-yes": (0x00, archive([(b"a.txt", b"replacement")])),
    "existing-no": (0x01, archive([(b"a.txt", b"kept"), (b"n.txt", b"next")])),
    "yes-to-all": (0x02, archive([(b"a.txt", b"x"), (b"sub\\c\\d.txt", b"y")])),
    "abort": (0x03, archive([(b"a.txt", b"x")])),
    "image": (0x40, archive([(b"d\\e\\f.bin", bytes(range(256)) * 200)], b"", b"MZ" + b"\x90" * 70)),
    "hostile": (0x80, archive([(b"ok.txt", b"ok"), (b"..\\evil.txt", b"evil")])),
    "resealed": (0x80, archive([(b"x.txt", b"1234")])[:-2]),
    "empty-entry": (0x00, archive([(b"zero", b"")])),
    "no-signature": (0x00, b"MZ plain program without archive" * 3),
}

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus", "archive_fuzzer")
os.makedirs(out, exist_ok=True)
for name, (control, data) in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(bytes([control]) + data)
