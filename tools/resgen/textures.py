"""Procedural, seamlessly tiling textures written as 8-bit RGB PNG files.

Each texture is a function of (u, v) in [0, 1) returning an (r, g, b) colour
in 0..1; ``write_png`` encodes it. The level and prop materials name these
files (``TEXTURES``) relative to Resources/Textures/.
"""

import math
import struct
import zlib

from .noise import fractal_noise, hash01

SIZE = 128


def write_png(path, width, height, pixel, alpha=False):
    """Writes an RGB PNG whose pixel(x, y) gives (r, g, b) in 0..1, row 0 on top;
    with alpha an RGBA PNG whose pixel gives (r, g, b, a)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # filter type: none
        for x in range(width):
            rows.extend(_to_byte(c) for c in pixel(x, y))
    colour_type = 6 if alpha else 2
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    data = (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + _chunk(b"IEND", b""))
    with open(path, "wb") as output:
        output.write(data)


def grass(u, v):
    tone = fractal_noise(u, v, 4, 4, seed=11)
    blade = hash01(int(u * SIZE), int(v * SIZE) // 3, 5)
    light = 0.75 + 0.35 * tone + (0.15 if blade > 0.85 else 0.0)
    return (0.24 * light, 0.55 * light, 0.16 * light)


def rock(u, v):
    tone = fractal_noise(u, v, 4, 5, seed=23)
    vein = abs(fractal_noise(u, v, 3, 4, seed=29) - 0.5)
    crack = 0.6 + 0.4 * min(1.0, vein / 0.02)
    grey = (0.38 + 0.35 * tone) * crack
    return (grey * 1.02, grey, grey * 0.94)


def wood(u, v):
    plank = int(v * 4)
    offset = hash01(plank, 41)
    grain = math.sin((u + offset) * 2.0 * math.pi * 3.0
                     + 6.0 * fractal_noise(u, v, 2, 3, seed=43 + plank))
    seam = 0.55 if (v * 4) % 1.0 < 0.04 else 1.0
    light = (0.8 + 0.12 * grain + 0.15 * (offset - 0.5)) * seam
    return (0.55 * light, 0.36 * light, 0.2 * light)


def metal(u, v):
    brushed = fractal_noise(u * 0.1, v, 2, 4, seed=53)
    cell_u, cell_v = (u * 2) % 1.0, (v * 2) % 1.0
    seam = 0.6 if min(cell_u, cell_v) < 0.02 else 1.0
    rivet = min(math.hypot(cell_u - cu, cell_v - cv) for cu in (0.08, 0.92) for cv in (0.08, 0.92))
    highlight = 1.25 if rivet < 0.03 else 1.0
    grey = (0.5 + 0.2 * brushed) * seam * highlight
    return (grey * 0.95, grey, grey * 1.05)


def sand(u, v):
    tone = fractal_noise(u, v, 8, 3, seed=61)
    grain = hash01(int(u * SIZE), int(v * SIZE), 67)
    light = 0.82 + 0.15 * tone + 0.08 * grain
    return (0.86 * light, 0.74 * light, 0.52 * light)


TEXTURES = {
    "grass.png": grass,
    "rock.png": rock,
    "wood.png": wood,
    "metal.png": metal,
    "sand.png": sand,
}


def write_all(folder):
    """Writes every texture of TEXTURES into folder."""
    for name, shade in TEXTURES.items():
        write_png("%s/%s" % (folder, name), SIZE, SIZE,
                  lambda x, y, shade=shade: shade(x / SIZE, y / SIZE))


def _to_byte(value):
    return max(0, min(255, int(round(value * 255.0))))


def _chunk(kind, payload):
    return (struct.pack(">I", len(payload)) + kind + payload
            + struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))
