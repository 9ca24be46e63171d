"""The desktop icon: the same bytes on every run, and a round badge on a
transparent square that a desktop can lay on any background."""

import os
import struct
import tempfile
import unittest
import zlib

from resgen import icon


def read_rgba_png(path):
    """Width, height and rows of (r, g, b, a) tuples of an unfiltered 8-bit RGBA PNG."""
    with open(path, "rb") as file:
        data = file.read()
    width, height, depth, colour_type = struct.unpack(">IIBB", data[16:26])
    if (depth, colour_type) != (8, 6):
        raise ValueError("not an 8-bit RGBA PNG")
    idat_length = struct.unpack(">I", data[33:37])[0]
    raw = zlib.decompress(data[41:41 + idat_length])
    stride = 1 + 4 * width
    rows = [[tuple(raw[y * stride + 1 + 4 * x:y * stride + 5 + 4 * x]) for x in range(width)]
            for y in range(height)]
    return width, height, rows


class DesktopIcon(unittest.TestCase):
    def test_two_runs_write_the_same_round_badge(self):
        with tempfile.TemporaryDirectory() as folder:
            first, second = (os.path.join(folder, name) for name in ("a.png", "b.png"))
            icon.write_icon(first)
            icon.write_icon(second)
            with open(first, "rb") as a, open(second, "rb") as b:
                self.assertEqual(a.read(), b.read())
            width, height, rows = read_rgba_png(first)

        self.assertEqual((width, height), (256, 256))
        for x, y in ((0, 0), (255, 0), (0, 255), (255, 255), (10, 10)):
            self.assertEqual(rows[y][x][3], 0, (x, y))
        for x, y in ((128, 128), (128, 10), (10, 128), (128, 245)):
            self.assertEqual(rows[y][x][3], 255, (x, y))
        opaque = {pixel[:3] for row in rows for pixel in row if pixel[3] == 255}
        self.assertGreaterEqual(len(opaque), 5, "sky, sun, grass, rock and rim")


if __name__ == "__main__":
    unittest.main()
