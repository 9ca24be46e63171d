"""The game's desktop icon: a floating island under a sun on a round sky badge,
drawn as a 256x256 RGBA PNG that is transparent outside the badge.

Usage: python3 -m resgen.icon <output.png>
The picture is a pure function of the pixel position, so every run writes the
same bytes.
"""

import math
import sys

from .textures import write_png

SIZE = 256
CENTRE = (SIZE - 1) / 2.0
BADGE_RADIUS = 120.0

SKY_TOP = (0.36, 0.62, 0.93)
SKY_BOTTOM = (0.72, 0.86, 0.98)
SUN = (1.0, 0.84, 0.3)
GRASS = (0.3, 0.66, 0.2)
ROCK = (0.45, 0.37, 0.3)
RIM = (0.16, 0.24, 0.42)


def _mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def _island(x, y, centre_x, top_y, half_width):
    """The colour of a floating island at (x, y), or None off it: a grass cap over
    a rock wedge that narrows to a point below."""
    across = abs(x - centre_x) / half_width
    if across >= 1.0:
        return None
    if top_y - 8.0 * (1.0 - across * across) <= y < top_y + 10.0:
        return GRASS
    if top_y + 10.0 <= y < top_y + 10.0 + 1.1 * half_width * (1.0 - across):
        return ROCK
    return None


def pixel(x, y):
    radius = math.hypot(x - CENTRE, y - CENTRE)
    coverage = max(0.0, min(1.0, BADGE_RADIUS - radius + 0.5))
    if coverage == 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    colour = _mix(SKY_TOP, SKY_BOTTOM, y / SIZE)
    if math.hypot(x - 172.0, y - 78.0) < 26.0:
        colour = SUN
    for island in ((128.0, 140.0, 72.0), (70.0, 92.0, 26.0)):
        colour = _island(x, y, *island) or colour
    if radius > BADGE_RADIUS - 8.0:
        colour = RIM
    return colour + (coverage,)


def write_icon(path):
    write_png(path, SIZE, SIZE, pixel, alpha=True)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.stderr.write("usage: python3 -m resgen.icon <output.png>\n")
        sys.exit(2)
    write_icon(sys.argv[1])
