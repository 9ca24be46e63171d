"""Top and side views of the generated levels, as PNG pictures.

    python3 -m resgen.views <folder>     (run from tools/)

writes level<N>_top.png (looking down, -z up the picture) and
level<N>_side.png (looking from +x, -z to the right) for every level. A
small z-buffered rasteriser draws the same node tree the level files hold,
placed as the game places it; grid lines every 20 units are labelled with
world coordinates. Markers: blue = player spawn, red = enemy spawn points,
yellow = events, magenta = the boss, cyan = the lowered elevator's top.
"""

import math
import os
import sys

from . import levels, shapes, textures, transforms

PIXELS_PER_UNIT = 3
MARGIN = 40
LABEL_ROOM = 60  # extra pixels on the right for platform names
GRID = 20.0
BACKGROUND = (0.1, 0.12, 0.16)
GRID_COLOUR = (0.25, 0.28, 0.34)
LABEL_COLOUR = (0.8, 0.82, 0.86)
LIGHT = transforms.normalised((0.3, 1.0, 0.5))
MARKER_COLOURS = {"Spawner": (0.95, 0.2, 0.2), "Events": (1.0, 0.9, 0.1),
                  "BigEnemy": (0.9, 0.2, 0.9)}
PLAYER_COLOUR = (0.2, 0.5, 1.0)
ELEVATOR_COLOUR = (0.2, 0.9, 0.9)
TEXTURE_COLOURS = {name: shade(0.5, 0.5) for name, shade in textures.TEXTURES.items()}
LEVEL_PLACEMENT = transforms.multiply(transforms.scaling(levels.LEVEL_SCALE),
                                      levels.Z_UP_TO_WORLD)


def scene_contents(document):
    """World-space triangles (three points and a colour) and markers (name, position)."""
    triangles, markers = [], []

    def visit(node, parent, group):
        matrix = transforms.multiply(parent, node.matrix)
        if node.name == "Sun":
            return
        for mesh, material in node.meshes:
            colour = material.colour or TEXTURE_COLOURS[material.texture]
            for a, b, c in mesh.triangles:
                triangles.append(([transforms.apply(matrix, mesh.positions[i]) for i in (a, b, c)],
                                  colour))
        if group is not None or node.name == "BigEnemy":
            markers.append((group or node.name, transforms.apply(matrix, (0.0, 0.0, 0.0))))
        for child in node.children:
            visit(child, matrix, node.name if node.name in ("Spawner", "Events") else group)

    for top in document.nodes:
        visit(top, LEVEL_PLACEMENT, None)
    elevator = document.find("Elevator")
    if elevator is not None:
        origin = transforms.apply(transforms.multiply(LEVEL_PLACEMENT, elevator.matrix),
                                  (0.0, 0.0, 0.0))
        markers.append(("Elevator", (origin[0], origin[1] - 10.0, origin[2])))
    markers.append(("Player", levels.SPAWN_CENTRE))
    return triangles, markers


class Canvas:
    """An RGB picture with a depth buffer; larger depth is nearer."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[BACKGROUND] * width for _ in range(height)]
        self.depth = [[-math.inf] * width for _ in range(height)]

    def triangle(self, corners, colour):
        (x0, y0, d0), (x1, y1, d1), (x2, y2, d2) = corners
        area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0)
        if abs(area) < 1e-9:
            return
        for y in range(max(0, int(min(y0, y1, y2))), min(self.height, int(max(y0, y1, y2)) + 1)):
            for x in range(max(0, int(min(x0, x1, x2))), min(self.width, int(max(x0, x1, x2)) + 1)):
                px, py = x + 0.5, y + 0.5
                w0 = ((x1 - px) * (y2 - py) - (x2 - px) * (y1 - py)) / area
                w1 = ((x2 - px) * (y0 - py) - (x0 - px) * (y2 - py)) / area
                w2 = 1.0 - w0 - w1
                if min(w0, w1, w2) < -1e-6:
                    continue
                depth = w0 * d0 + w1 * d1 + w2 * d2
                if depth > self.depth[y][x]:
                    self.depth[y][x] = depth
                    self.pixels[y][x] = colour

    def dot(self, x, y, radius, colour):
        for py in range(int(y - radius), int(y + radius) + 1):
            for px in range(int(x - radius), int(x + radius) + 1):
                if 0 <= px < self.width and 0 <= py < self.height and \
                        (px - x) ** 2 + (py - y) ** 2 <= radius * radius:
                    self.pixels[py][px] = colour

    def line(self, horizontal, position, colour):
        if horizontal and 0 <= position < self.height:
            self.pixels[position] = [colour] * self.width
        elif not horizontal and 0 <= position < self.width:
            for row in self.pixels:
                row[position] = colour

    def text(self, x, y, words, colour, cell=2):
        for index, character in enumerate(words.upper()):
            glyph = shapes.GLYPHS.get(character, shapes.GLYPHS[" "]) if character != "-" else \
                [".....", ".....", ".....", "#####", ".....", ".....", "....."]
            for row, line in enumerate(glyph):
                for column, mark in enumerate(line):
                    if mark == "#":
                        for dy in range(cell):
                            for dx in range(cell):
                                px, py = x + (index * 6 + column) * cell + dx, y + row * cell + dy
                                if 0 <= px < self.width and 0 <= py < self.height:
                                    self.pixels[py][px] = colour

    def write(self, path):
        textures.write_png(path, self.width, self.height, lambda x, y: self.pixels[y][x])


def render(triangles, markers, labels, project, axes):
    """Draws the scene through project(point) -> (picture u, picture v, depth) in
    world units, with markers (kind, position) and labels (text, position).

    axes names the world axes shown along the picture's u and v ('x', '-z', ...)."""
    corners = [p for points, _ in triangles for p in points] + [m[1] for m in markers]
    projected = [project(p) for p in corners]
    low_u, high_u = min(p[0] for p in projected), max(p[0] for p in projected)
    low_v, high_v = min(p[1] for p in projected), max(p[1] for p in projected)
    canvas = Canvas(int((high_u - low_u) * PIXELS_PER_UNIT) + 2 * MARGIN + LABEL_ROOM,
                    int((high_v - low_v) * PIXELS_PER_UNIT) + 2 * MARGIN)

    def to_pixels(point):
        u, v, depth = project(point)
        return ((u - low_u) * PIXELS_PER_UNIT + MARGIN, (v - low_v) * PIXELS_PER_UNIT + MARGIN,
                depth)

    draw_grid(canvas, low_u, high_u, low_v, high_v, axes)
    for points, colour in triangles:
        a, b, c = points
        normal = transforms.normalised(transforms.cross(
            tuple(b[i] - a[i] for i in range(3)), tuple(c[i] - a[i] for i in range(3))))
        light = 0.45 + 0.55 * abs(sum(n * l for n, l in zip(normal, LIGHT)))
        canvas.triangle([to_pixels(p) for p in points], tuple(ch * light for ch in colour))
    for name, position in markers:
        x, y, _ = to_pixels(position)
        colour = {"Player": PLAYER_COLOUR, "Elevator": ELEVATOR_COLOUR}.get(
            name, MARKER_COLOURS.get(name))
        canvas.dot(x, y, 4, (0.0, 0.0, 0.0))
        canvas.dot(x, y, 3, colour)
    for text, position in labels:
        x, y, _ = to_pixels(position)
        canvas.text(int(x) + 6, int(y) - 16, text, LABEL_COLOUR)
    return canvas


def draw_grid(canvas, low_u, high_u, low_v, high_v, axes):
    """Grid lines every GRID world units, labelled in world coordinates."""
    signs = [-1.0 if axis.startswith("-") else 1.0 for axis in axes]
    for index, (low, high) in enumerate(((low_u, high_u), (low_v, high_v))):
        value = math.ceil(low / GRID) * GRID
        while value <= high:
            pixel = int((value - low) * PIXELS_PER_UNIT + MARGIN)
            canvas.line(index == 1, pixel, GRID_COLOUR)
            label = "%d" % (value * signs[index])
            if index == 0:
                canvas.text(pixel + 2, 4, label, LABEL_COLOUR)
            else:
                canvas.text(2, pixel + 2, label, LABEL_COLOUR)
            value += GRID
    names = " ".join(axis.lstrip("-").upper() for axis in axes)
    canvas.text(canvas.width - 60, canvas.height - 18, names, LABEL_COLOUR)


def top_view(point):
    return point[0], point[2], point[1]


def side_view(point):
    return -point[2], -point[1], point[0]


def write_views(folder):
    os.makedirs(folder, exist_ok=True)
    for number, level in levels.LEVELS.items():
        builder = level()
        triangles, markers = scene_contents(builder.build())
        labels = [(ground.name, ground.top_centre) for ground in builder.grounds]
        render(triangles, markers, labels, top_view, ("x", "z")).write(
            os.path.join(folder, "level%d_top.png" % number))
        render(triangles, markers, labels, side_view, ("-z", "-y")).write(
            os.path.join(folder, "level%d_side.png" % number))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.stderr.write("usage: python3 -m resgen.views <output folder>\n")
        sys.exit(2)
    write_views(sys.argv[1])
