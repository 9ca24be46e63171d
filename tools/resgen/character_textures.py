"""Texture atlases of the characters: eight vertical columns, one swatch each.

Every part of a character is painted from one column (see body_parts), so a
character needs one texture and one material. Swatches are functions of the
position (u, v) inside their column, both in [0, 1).
"""

import math
from dataclasses import dataclass
from typing import Callable, Sequence, Tuple

from . import textures
from .noise import fractal_noise, hash01

COLUMNS = 8
COLUMN_WIDTH = 64
HEIGHT = 128

Colour = Tuple[float, float, float]
Swatch = Callable[[float, float], Colour]


def shade(colour: Colour, light: float) -> Colour:
    return tuple(min(1.0, c * light) for c in colour)


def mix(a: Colour, b: Colour, f: float) -> Colour:
    return tuple(x + (y - x) * f for x, y in zip(a, b))


def mottled(base: Colour, spots: Colour, seed: int) -> Swatch:
    """Noisy skin with darker blotches."""
    def swatch(u, v):
        tone = fractal_noise(u, v, 4, 4, seed=seed)
        blotch = fractal_noise(u, v, 3, 3, seed=seed + 7)
        colour = mix(base, spots, 1.0 if blotch > 0.62 else 0.0)
        return shade(colour, 0.8 + 0.4 * tone)
    return swatch


def scaled_skin(base: Colour, crack: Colour, seed: int) -> Swatch:
    """Plates separated by glowing or dark cracks."""
    def swatch(u, v):
        vein = abs(fractal_noise(u, v, 3, 4, seed=seed) - 0.5)
        tone = fractal_noise(u, v, 6, 3, seed=seed + 3)
        return crack if vein < 0.035 else shade(base, 0.75 + 0.4 * tone)
    return swatch


def banded(colour: Colour, bands: int, depth: float = 0.2) -> Swatch:
    """Bands across the column (rings along a horn, folds of a belly)."""
    return lambda u, v: shade(colour, 1.0 - depth * (0.5 + 0.5 * math.sin(2.0 * math.pi * bands * v)))


def plain(colour: Colour, seed: int = 1) -> Swatch:
    return lambda u, v: shade(colour, 0.95 + 0.1 * hash01(int(u * 64), int(v * 64), seed))


def wedges(a: Colour, b: Colour, count: int) -> Swatch:
    """Alternating wedges around a ball (u runs around it), so its turning shows."""
    return lambda u, v: a if int(u * 2 * count) % 2 == 0 else b


def wrapped(colour: Colour, stripe: Colour, turns: int) -> Swatch:
    """A spiral wrap, like grip tape around a handle."""
    return lambda u, v: stripe if (u + v * turns) % 1.0 < 0.18 else colour


def wood_grain(colour: Colour, seed: int) -> Swatch:
    def swatch(u, v):
        grain = math.sin(2.0 * math.pi * (5.0 * u + 1.5 * fractal_noise(u, v, 2, 3, seed=seed)))
        return shade(colour, 0.85 + 0.12 * grain + 0.08 * fractal_noise(u, v, 8, 2, seed=seed + 1))
    return swatch


def brushed_metal(colour: Colour, seed: int) -> Swatch:
    return lambda u, v: shade(colour, 0.8 + 0.35 * fractal_noise(u * 0.1, v, 2, 4, seed=seed))


def glow(core: Colour, edge: Colour) -> Swatch:
    """Bright in the middle of the column, darker towards its sides."""
    return lambda u, v: mix(edge, core, math.sin(math.pi * u))


@dataclass(frozen=True)
class Atlas:
    file_name: str
    swatches: Sequence[Swatch]

    def pixel(self, x: int, y: int) -> Colour:
        column = min(COLUMNS - 1, x // COLUMN_WIDTH)
        u = (x % COLUMN_WIDTH + 0.5) / COLUMN_WIDTH
        v = (y + 0.5) / HEIGHT
        return self.swatches[column](u, v)

    def write(self, folder: str) -> None:
        if len(self.swatches) != COLUMNS:
            raise ValueError(f"{self.file_name} needs {COLUMNS} swatches")
        textures.write_png(f"{folder}/{self.file_name}", COLUMNS * COLUMN_WIDTH, HEIGHT,
                           self.pixel)
