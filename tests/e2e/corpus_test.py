#!/usr/bin/env python3
"""Every file of the shared corpus through the real host and libraries: the tree is
well formed, with every tag opened too; for every uncompressed (FWS) file the tag
items tile the "Tags" range and agree with an independent count of the tag headers.

usage: corpus_test.py [--wine RUNNER] HOST CORPUS_DIR"""
import os
import struct
import sys

from vizmora import host_from_arguments


def tag_headers(data):
    """(offset, code, header size, length) of every top-level tag, read independently."""
    if len(data) < 9:
        return []
    offset = ((4 * (data[8] >> 3) + 12) >> 3) + 12
    tags = []
    padded = data + bytes(6)
    while offset < len(data):
        word = struct.unpack_from("<H", padded, offset)[0]
        code, length, header = word >> 6, word & 0x3F, 2
        if length == 0x3F:
            length, header = struct.unpack_from("<I", padded, offset + 2)[0], 6
        tags.append((offset, code, header, length))
        if offset + header + length > 0xFFFFFFFF:
            break
        offset += header + length
    return tags


def check_tree(items, size):
    """Depths step down one level at a time; the root covers the file."""
    assert items, "no items"
    root = items[0]
    assert (root["depth"], root["name"], root["start"]) == (0, "Whole File", 0), root
    assert root["end"] == (size - 1) & 0xFFFFFFFF, root
    for before, after in zip(items, items[1:]):
        assert 1 <= after["depth"] <= before["depth"] + 1, (before, after)


def check_tags(items, data):
    expected = tag_headers(data)
    tags_item = next((i for i in items if i["depth"] == 1 and i["name"] == "Tags"), None)
    if tags_item is None:
        assert not expected, "no Tags item"
        return
    first = items.index(tags_item) + 1
    tags = [i for i in items[first:] if i["depth"] == 2]
    children = {}
    for index, item in enumerate(items[first:], first):
        if item["depth"] == 2:
            children[index] = []
        elif item["depth"] == 3:
            children[max(children)].append(item)
    assert len(tags) == len(expected), f"{len(tags)} tag items, {len(expected)} tags"
    assert tags[0]["start"] == tags_item["start"]
    for item, following in zip(tags, tags[1:]):
        assert following["start"] == item["end"] + 1, (item, following)
    for (index, fields), (offset, code, header, length) in zip(sorted(children.items()), expected):
        tag = items[index]
        assert tag["start"] == offset, (tag, offset)
        assert tag["end"] == min(offset + header + length, 1 << 32) - 1, (tag, length)
        assert fields[0]["name"] == "TagID(0X%X)" % code, fields[0]
        length_item = fields[1]
        assert length_item["name"] == "TagLength"
        assert (length_item["start"], length_item["end"]) == ((offset, offset + 1) if header == 2 else
                                                                (offset + 2, offset + 5))
        data_items = [f for f in fields if f["name"] == "TagData"]
        if length:
            assert len(data_items) == 1 and data_items[0]["deferred"] == 1 and data_items[0]["tagCode"] == code
            assert data_items[0]["start"] == offset + header
        else:
            assert not data_items
    last = tags[-1]
    if last["end"] < 0xFFFFFFFF and last["end"] + 1 <= len(data):
        assert last["end"] == tags_item["end"], (last, tags_item)


def main(argv):
    host, rest = host_from_arguments(argv)
    corpus = rest[0]
    paths = sorted(os.path.join(d, f) for d, _, files in os.walk(corpus) for f in files if f.endswith(".swf"))
    assert paths, "empty corpus"
    failures = 0
    walked = tiled = 0
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        try:
            items = host.items(host.path(path))
            check_tree(items, len(data))
            if data[:3] == b"FWS":
                check_tags(items, data)
                tiled += 1
            opened = host.items("--expand", host.path(path))
            check_tree(opened, len(data))
            assert len(opened) >= len(items)
            walked += 1
        except Exception as error:  # report every file, then fail
            failures += 1
            print(f"FAIL {os.path.relpath(path, corpus)}: {type(error).__name__}: {error}")
    print(f"{walked} files walked and opened, {tiled} tag lists checked against the headers")
    print(f"{walked} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
