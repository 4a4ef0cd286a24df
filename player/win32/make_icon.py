#!/usr/bin/env python3
"""Writes an .ico file holding the given PNG pictures as they are (the icon
format takes PNG entries), largest first: make_icon.py OUT.ico IN.png..."""
import struct
import sys


def png_size(data):
    # The IHDR chunk follows the 8-byte signature: length, type, width, height.
    return struct.unpack(">II", data[16:24])


def main(out, inputs):
    pictures = [open(name, "rb").read() for name in inputs]
    pictures.sort(key=lambda data: -png_size(data)[0])
    header = struct.pack("<HHH", 0, 1, len(pictures))
    offset = len(header) + 16 * len(pictures)
    entries = b""
    for data in pictures:
        width, height = png_size(data)
        # 256 and more is written as 0.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                               len(data), offset)
        offset += len(data)
    with open(out, "wb") as ico:
        ico.write(header + entries + b"".join(pictures))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
