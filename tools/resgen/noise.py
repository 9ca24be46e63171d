"""Deterministic, tileable value noise shared by the textures and the sounds."""

import functools
import math


def hash01(*coordinates):
    """A pseudo-random value in [0, 1) fixed by integer coordinates."""
    h = 0x811C9DC5
    for c in coordinates:
        h = ((h ^ (c & 0xFFFFFFFF)) * 0x01000193) & 0xFFFFFFFF
        h ^= h >> 15
        h = (h * 0x2C1B3C6D) & 0xFFFFFFFF
        h ^= h >> 12
    return h / 4294967296.0


def value_noise(x, y, period, seed=0):
    """Smooth noise in [0, 1) on a lattice that repeats every period cells."""
    lattice = _lattice(seed, period)
    x0, y0 = math.floor(x), math.floor(y)
    fx, fy = _fade(x - x0), _fade(y - y0)
    i0, i1 = x0 % period, (x0 + 1) % period
    row0, row1 = lattice[y0 % period], lattice[(y0 + 1) % period]
    top = row0[i0] + (row0[i1] - row0[i0]) * fx
    bottom = row1[i0] + (row1[i1] - row1[i0]) * fx
    return top + (bottom - top) * fy


def fractal_noise(u, v, base_period=4, octaves=4, seed=0):
    """Sum of octaves of value noise over texture coordinates u, v in [0, 1),
    tileable; result in [0, 1)."""
    total, weight, norm = 0.0, 1.0, 0.0
    period = base_period
    for octave in range(octaves):
        total += weight * value_noise(u * period, v * period, period, seed + octave)
        norm += weight
        weight *= 0.5
        period *= 2
    return total / norm


def _fade(t):
    return t * t * (3.0 - 2.0 * t)


@functools.lru_cache(maxsize=None)
def _lattice(seed, period):
    """The lattice values of one noise layer, row by row (hashing is the slow part)."""
    return tuple(tuple(hash01(seed, i, j) for i in range(period)) for j in range(period))
