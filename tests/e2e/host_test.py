#!/usr/bin/env python3
"""The host vizmora as people use it: its output forms, options, exit codes and
messages.

usage: host_test.py [--wine RUNNER] HOST"""
import os
import struct
import sys
import tempfile
import unittest

from vizmora import host_from_arguments, parse_lines

HOST = None


def movie(tags):
    """An uncompressed movie with a 550 x 400 frame and the given tag bytes."""
    rect = bytes([0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00])
    body = rect + struct.pack("<HH", 12 << 8, 1) + tags
    return b"FWS\x06" + struct.pack("<I", 8 + len(body)) + body


def tag(code, body):
    return struct.pack("<H", code << 6 | len(body)) + body


class HostTest(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.directory.cleanup()

    def write(self, name, data):
        path = os.path.join(self.directory.name, name)
        with open(path, "wb") as f:
            f.write(data)
        return HOST.path(path)

    def test_without_a_file_it_shows_the_sample_movie(self):
        code, out, err = HOST.run()
        self.assertEqual(code, 0, err)
        lines = out.decode().splitlines()
        self.assertEqual(lines[0], "[00000000..0000005B] Whole File")
        self.assertIn("  [00000000..00000014] Header", lines)
        self.assertIn("      [00000017..00000019] TagData  (deferred)", lines)

    def test_json_lines_have_fixed_keys_and_unsigned_numbers(self):
        path = self.write("empty.swf", b"")
        code, out, err = HOST.run("--json", path)
        self.assertEqual(code, 0, err)
        first = out.decode().splitlines()[0]
        self.assertEqual(first, '{"depth":0,"start":0,"end":4294967295,"name":"Whole File","deferred":0,"tagCode":0}')
        items = parse_lines(out)
        self.assertEqual([i["depth"] for i in items[:3]], [0, 1, 2])

    def test_expand_opens_each_deferred_item_once(self):
        sprite = tag(39, b"\x01\x00\x01\x00" + tag(1, b"") + tag(0, b""))
        path = self.write("sprite.swf", movie(sprite + tag(1, b"") + tag(0, b"")))
        closed = HOST.items(path)
        opened = HOST.items("--expand", path)
        data = [i for i in opened if i["deferred"] == 1]
        self.assertEqual(len(data), 1)
        index = opened.index(data[0])
        below = [i["name"] for i in opened[index + 1:index + 4]]
        self.assertEqual(below, ["Character ID of sprite", "Number of frames in sprite", "Tags in sprite"])
        self.assertEqual(len([i for i in opened if i["name"] == "Tags in sprite"]), 1)
        self.assertEqual(len(opened), len(closed) + 3 + 6)

    def test_at_prints_the_innermost_item_covering_an_offset(self):
        code, out, err = HOST.run("--at", "11")
        self.assertEqual(code, 0, err)
        self.assertEqual(out.decode().splitlines()[-1], "[0000000A..0000000C] Xmax (11000=550.00 * 20 twips)")
        code, out, err = HOST.run("--json", "--at", "0x17")
        self.assertEqual(parse_lines(out)[-1]["name"], "TagData")

    def test_errors_have_messages_and_exit_codes(self):
        cases = [
            (["--type", "xyz"], 1, '"xyz"'),
            ([HOST.path(os.path.join(self.directory.name, "missing.swf"))], 2, "cannot read"),
            (["--bogus"], 2, "unknown option"),
            (["--at"], 2, "missing value"),
            (["--at", "12x"], 2, "not an offset"),
            (["a.swf", "b.swf"], 2, "more than one file"),
        ]
        for args, expected_code, message in cases:
            with self.subTest(args=args):
                code, out, err = HOST.run(*args)
                self.assertEqual(code, expected_code, err)
                self.assertIn(message, err)


if __name__ == "__main__":
    HOST, rest = host_from_arguments(sys.argv[1:])
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=1)
