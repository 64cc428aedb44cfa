#!/usr/bin/env python3
"""Writes sample.swf: a small uncompressed movie with one red square, a frame label
and a stop action, used when vizmora is run without a file."""
import struct
import sys


class Bits:
    def __init__(self):
        self.bits = []

    def put(self, value, count):
        for i in range(count - 1, -1, -1):
            self.bits.append((value >> i) & 1)

    def signed(self, value, count):
        self.put(value & ((1 << count) - 1), count)

    def bytes(self):
        padded = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(int("".join(map(str, padded[i:i + 8])), 2) for i in range(0, len(padded), 8))


def rect(xmin, xmax, ymin, ymax):
    b = Bits()
    b.put(15, 5)
    for v in (xmin, xmax, ymin, ymax):
        b.signed(v, 15)
    return b.bytes()


def tag(code, body):
    if len(body) < 0x3F:
        return struct.pack("<H", code << 6 | len(body)) + body
    return struct.pack("<HI", code << 6 | 0x3F, len(body)) + body


def square_shape():
    body = struct.pack("<H", 1) + rect(1000, 3000, 1000, 3000)
    body += bytes([1, 0x00, 0xFF, 0x00, 0x00])      # one solid red fill
    body += bytes([1]) + struct.pack("<H", 20) + bytes([0, 0, 0])  # one black line
    b = Bits()
    b.put(1, 4); b.put(1, 4)                         # fill and line index bits
    b.put(0, 1); b.put(0, 1); b.put(1, 1); b.put(0, 1); b.put(1, 1); b.put(1, 1)
    b.put(13, 5); b.signed(1000, 13); b.signed(1000, 13)  # move to (1000, 1000)
    b.put(1, 1); b.put(1, 1)                         # fill 0 = 1, line = 1
    for dx, dy in ((2000, 0), (0, 2000), (-2000, 0), (0, -2000)):
        b.put(1, 1); b.put(1, 1); b.put(11, 4)       # straight edge, 13-bit deltas
        b.put(0, 1)                                  # not a general line
        b.put(0 if dy == 0 else 1, 1)                # vertical?
        b.signed(dx if dy == 0 else dy, 13)
    b.put(0, 6)                                      # end of shape
    return body + b.bytes()


def place_object2():
    return bytes([0x06]) + struct.pack("<HH", 1, 1) + bytes([0x00])  # depth 1, id 1, identity


def main(path):
    tags = tag(9, bytes([0x33, 0x66, 0x99]))
    tags += tag(2, square_shape())
    tags += tag(26, place_object2())
    tags += tag(43, b"start\x00")
    tags += tag(12, bytes([0x07, 0x00]))             # Stop, End
    tags += tag(1, b"") + tag(0, b"")
    body = rect(0, 11000, 0, 8000) + struct.pack("<HH", 12 << 8, 1) + tags
    movie = b"FWS" + bytes([6]) + struct.pack("<I", 8 + len(body)) + body
    with open(path, "wb") as out:
        out.write(movie)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "sample.swf")
