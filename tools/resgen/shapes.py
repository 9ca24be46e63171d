"""Triangle-mesh primitives for the game's models.

Every shape is a ``Mesh``: per-vertex positions, normals and uvs plus triangle
index triples, the data a COLLADA ``<triangles>`` element carries. Shapes use
the files' axes: z is up, x and y are horizontal. Faces are flat-shaded (each
face owns its vertices) unless a function says otherwise, and wind
counter-clockwise seen from outside.

Texture coordinates of flat faces are planar: a corner's uv is its position on
the face's two dominant axes divided by ``uv_size``, so a texture repeats every
``uv_size`` units whatever the shape's size and textures line up across faces.

Shapes are built in place and moved with ``Mesh.transformed`` (or the
``translated``/``scaled`` shortcuts); ``Mesh.extend`` merges several shapes
into one mesh that shares a material.
"""

import math

from . import transforms

DEFAULT_UV_SIZE = 8.0


class Mesh:
    """Positions, normals, uvs (lists of tuples) and triangles (index triples)."""

    def __init__(self):
        self.positions = []
        self.normals = []
        self.uvs = []
        self.triangles = []

    def add_vertex(self, position, normal, uv):
        """Appends one vertex and returns its index."""
        self.positions.append(tuple(float(c) for c in position))
        self.normals.append(tuple(float(c) for c in normal))
        self.uvs.append(tuple(float(c) for c in uv))
        return len(self.positions) - 1

    def add_face(self, corners, uv_size=DEFAULT_UV_SIZE, uvs=None):
        """A flat convex polygon, corners counter-clockwise seen from outside.

        Its normal comes from the winding; uvs are planar unless given.
        """
        normal = face_normal(corners)
        if uvs is None:
            uvs = planar_uvs(corners, normal, uv_size)
        first = len(self.positions)
        for corner, uv in zip(corners, uvs):
            self.add_vertex(corner, normal, uv)
        for i in range(1, len(corners) - 1):
            self.triangles.append((first, first + i, first + i + 1))
        return self

    def extend(self, *others):
        """Appends the vertices and triangles of other meshes; returns self."""
        for other in others:
            offset = len(self.positions)
            self.positions.extend(other.positions)
            self.normals.extend(other.normals)
            self.uvs.extend(other.uvs)
            self.triangles.extend(tuple(i + offset for i in t) for t in other.triangles)
        return self

    def transformed(self, matrix):
        """A copy moved by a 4x4 matrix; normals follow its inverse transpose."""
        normal_matrix = _normal_matrix(matrix)
        result = Mesh()
        result.positions = [transforms.apply(matrix, p) for p in self.positions]
        result.normals = [
            transforms.normalised(_apply3(normal_matrix, n)) for n in self.normals
        ]
        result.uvs = list(self.uvs)
        result.triangles = list(self.triangles)
        if _determinant3(matrix) < 0.0:
            result.triangles = [(a, c, b) for a, b, c in result.triangles]
        return result

    def translated(self, x, y, z):
        return self.transformed(transforms.translation(x, y, z))

    def scaled(self, x, y=None, z=None):
        return self.transformed(transforms.scaling(x, y, z))

    def flipped(self):
        """A copy seen from the other side: reversed winding, negated normals."""
        result = Mesh()
        result.positions = list(self.positions)
        result.normals = [tuple(-c for c in n) for n in self.normals]
        result.uvs = list(self.uvs)
        result.triangles = [(a, c, b) for a, b, c in self.triangles]
        return result

    def bounds(self):
        """((min x, min y, min z), (max x, max y, max z)) of the positions."""
        return (
            tuple(min(p[i] for p in self.positions) for i in range(3)),
            tuple(max(p[i] for p in self.positions) for i in range(3)),
        )


def face_normal(corners):
    """Unit normal of a planar polygon by Newell's method (robust for any convex polygon)."""
    nx = ny = nz = 0.0
    for i, (x0, y0, z0) in enumerate(corners):
        x1, y1, z1 = corners[(i + 1) % len(corners)]
        nx += (y0 - y1) * (z0 + z1)
        ny += (z0 - z1) * (x0 + x1)
        nz += (x0 - x1) * (y0 + y1)
    return transforms.normalised((nx, ny, nz))


def planar_uvs(corners, normal, uv_size=DEFAULT_UV_SIZE):
    """uv of each corner on the two axes across the normal's dominant axis."""
    dominant = max(range(3), key=lambda i: abs(normal[i]))
    u_axis, v_axis = [(1, 2), (0, 2), (0, 1)][dominant]
    return [(c[u_axis] / uv_size, c[v_axis] / uv_size) for c in corners]


def box(size, centre=(0.0, 0.0, 0.0), uv_size=DEFAULT_UV_SIZE):
    """An axis-aligned box of size (x, y, z) around centre."""
    hx, hy, hz = (s * 0.5 for s in size)
    cx, cy, cz = centre
    lo = (cx - hx, cy - hy, cz - hz)
    hi = (cx + hx, cy + hy, cz + hz)
    return _hexahedron(_box_corners(lo, hi), uv_size)


def slab(width, depth, thickness, top_centre, uv_size=DEFAULT_UV_SIZE):
    """A platform: a box of width (x) by depth (y) whose top face is centred at top_centre."""
    x, y, z = top_centre
    return box((width, depth, thickness), (x, y, z - thickness * 0.5), uv_size)


def ramp(start, end, width, thickness, uv_size=DEFAULT_UV_SIZE):
    """A slanted slab whose top surface runs straight from start to end.

    start and end are the centres of the top surface's low and high edges; the
    sides are vertical, the ends are cut vertically, and the underside lies
    thickness below the top.
    """
    dx, dy = end[0] - start[0], end[1] - start[1]
    side = transforms.normalised((-dy, dx, 0.0))
    half = (side[0] * width * 0.5, side[1] * width * 0.5)
    top = [
        (start[0] - half[0], start[1] - half[1], start[2]),
        (end[0] - half[0], end[1] - half[1], end[2]),
        (end[0] + half[0], end[1] + half[1], end[2]),
        (start[0] + half[0], start[1] + half[1], start[2]),
    ]
    bottom = [(x, y, z - thickness) for x, y, z in top]
    # Corner order of _hexahedron: bottom ring then top ring, counter-clockwise from above.
    return _hexahedron(_ccw_from_above(bottom) + _ccw_from_above(top), uv_size)


def cylinder(radius, height, segments=12, bottom_centre=(0.0, 0.0, 0.0), uv_size=DEFAULT_UV_SIZE):
    """A faceted upright cylinder (a prism of the given number of sides) with caps."""
    bx, by, bz = bottom_centre
    ring = [
        (bx + radius * math.cos(a), by + radius * math.sin(a))
        for a in (2.0 * math.pi * i / segments for i in range(segments))
    ]
    mesh = Mesh()
    for i in range(segments):
        (x0, y0), (x1, y1) = ring[i], ring[(i + 1) % segments]
        mesh.add_face([(x0, y0, bz), (x1, y1, bz), (x1, y1, bz + height), (x0, y0, bz + height)],
                      uv_size)
    mesh.add_face([(x, y, bz + height) for x, y in ring], uv_size)
    mesh.add_face([(x, y, bz) for x, y in reversed(ring)], uv_size)
    return mesh


def sphere(radius, rings=12, segments=24, centre=(0.0, 0.0, 0.0), smooth=True):
    """A UV sphere; smooth spheres share vertices along rings and carry radial normals."""
    return _sphere_band(radius, rings, segments, centre, smooth, 0.0, math.pi)


def hemisphere(radius, rings=8, segments=32, centre=(0.0, 0.0, 0.0), smooth=True):
    """The upper half of a sphere (z >= 0 around centre), open at the bottom."""
    return _sphere_band(radius, rings, segments, centre, smooth, 0.0, math.pi * 0.5)


def gem(radius, crown_height, pavilion_height, facets=8, table_ratio=0.55):
    """A cut gem standing on its point: a pavilion cone below the girdle (z = 0),
    a crown with a flat table above. Always faceted."""
    girdle = _ring(radius, facets, 0.0)
    table = _ring(radius * table_ratio, facets, crown_height, offset=math.pi / facets)
    tip = (0.0, 0.0, -pavilion_height)
    mesh = Mesh()
    for i in range(facets):
        g0, g1 = girdle[i], girdle[(i + 1) % facets]
        t_prev, t0 = table[i - 1], table[i]
        mesh.add_face([tip, g1, g0])
        mesh.add_face([g0, g1, t0])
        mesh.add_face([g0, t0, t_prev])
    mesh.add_face(table)
    return mesh


def disc(radius, segments=32, uv_size=DEFAULT_UV_SIZE):
    """A flat upward-facing polygon at z = 0."""
    return Mesh().add_face(_ring(radius, segments, 0.0), uv_size)


def coplanar_overlaps(first, second, tolerance=1e-4):
    """The triangle pairs (index into first, index into second) that lie in one
    plane and share some area: surfaces the depth buffer cannot tell apart, so
    they flicker (z-fight). Triangles that only touch along an edge or a corner
    are apart."""
    planes = [_plane(second, triangle) for triangle in second.triangles]
    found = []
    for i, triangle in enumerate(first.triangles):
        normal, offset = _plane(first, triangle)
        corners = [first.positions[k] for k in triangle]
        for j, (other_normal, other_offset) in enumerate(planes):
            along = _dot(normal, other_normal)
            if abs(abs(along) - 1.0) > tolerance or abs(offset - along * other_offset) > tolerance:
                continue
            others = [second.positions[k] for k in second.triangles[j]]
            if _overlap_in_plane(corners, others, normal, tolerance):
                found.append((i, j))
    return found


def _dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def _plane(mesh, triangle):
    """(unit normal, offset along it) of a triangle's plane."""
    a, b, c = (mesh.positions[k] for k in triangle)
    normal = transforms.normalised(transforms.cross(
        tuple(b[i] - a[i] for i in range(3)), tuple(c[i] - a[i] for i in range(3))))
    return normal, _dot(normal, a)


def _overlap_in_plane(first, second, normal, tolerance):
    """Whether two coplanar triangles overlap by more than an edge (separating axes
    of both triangles' edges, in the plane's two most open axes)."""
    dominant = max(range(3), key=lambda i: abs(normal[i]))
    u, v = [(1, 2), (0, 2), (0, 1)][dominant]
    flat = [[(p[u], p[v]) for p in triangle] for triangle in (first, second)]
    for triangle in flat:
        for k in range(3):
            (x0, y0), (x1, y1) = triangle[k], triangle[(k + 1) % 3]
            axis = (y0 - y1, x1 - x0)
            spans = [[axis[0] * x + axis[1] * y for x, y in t] for t in flat]
            reach = (max(axis[0] ** 2 + axis[1] ** 2, 1e-24)) ** 0.5 * tolerance
            if min(max(spans[0]), max(spans[1])) - max(min(spans[0]), min(spans[1])) <= reach:
                return False
    return True


# 5 x 7 block glyphs, one string per row from the top; '#' is filled.
GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".####", "#....", "#....", "#....", "#....", "#....", ".####"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".####", "#....", "#....", "#.###", "#...#", "#...#", ".###."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": [".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."],
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."],
    ".": [".....", ".....", ".....", ".....", ".....", ".....", "..#.."],
    "'": ["..#..", "..#..", ".#...", ".....", ".....", ".....", "....."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}
GLYPH_COLUMNS = 5
GLYPH_ROWS = 7


def block_letters(text, height, depth, spacing=1.0):
    """Extruded block letters from a 5 x 7 grid font.

    The text reads along +x starting at x = 0, stands along +z from z = 0 to
    height, and is extruded from y = 0 (the front, facing -y) back to y = depth.
    Letters advance by 5 + spacing cells. Unknown characters raise KeyError.
    """
    cell = height / GLYPH_ROWS
    mesh = Mesh()
    for index, character in enumerate(text.upper()):
        left = index * (GLYPH_COLUMNS + spacing) * cell
        for row, line in enumerate(GLYPHS[character]):
            bottom = (GLYPH_ROWS - 1 - row) * cell
            for start, length in _filled_runs(line):
                x0 = left + start * cell
                mesh.extend(
                    _hexahedron(_box_corners((x0, 0.0, bottom),
                                             (x0 + length * cell, depth, bottom + cell)), height)
                )
    return mesh


def text_width(text, height, spacing=1.0):
    """Width along x of block_letters(text, height, ...)."""
    cell = height / GLYPH_ROWS
    return (len(text) * (GLYPH_COLUMNS + spacing) - spacing) * cell


def _filled_runs(line):
    runs, start = [], None
    for i, mark in enumerate(line + "."):
        if mark == "#" and start is None:
            start = i
        elif mark != "#" and start is not None:
            runs.append((start, i - start))
            start = None
    return runs


def _box_corners(lo, hi):
    (x0, y0, z0), (x1, y1, z1) = lo, hi
    return [(x0, y0, z0), (x1, y0, z0), (x1, y1, z0), (x0, y1, z0),
            (x0, y0, z1), (x1, y0, z1), (x1, y1, z1), (x0, y1, z1)]


def _hexahedron(corners, uv_size):
    """Six faces from 8 corners: bottom ring 0-3 and top ring 4-7, each
    counter-clockwise seen from above, corner i + 4 above corner i."""
    b0, b1, b2, b3, t0, t1, t2, t3 = corners
    mesh = Mesh()
    for face in ([t0, t1, t2, t3], [b0, b3, b2, b1], [b0, b1, t1, t0],
                 [b1, b2, t2, t1], [b2, b3, t3, t2], [b3, b0, t0, t3]):
        mesh.add_face(face, uv_size)
    return mesh


def _ccw_from_above(quad):
    signed_area = sum(
        quad[i][0] * quad[(i + 1) % 4][1] - quad[(i + 1) % 4][0] * quad[i][1] for i in range(4)
    )
    return quad if signed_area > 0.0 else list(reversed(quad))


def _ring(radius, count, z, offset=0.0):
    return [
        (radius * math.cos(offset + 2.0 * math.pi * i / count),
         radius * math.sin(offset + 2.0 * math.pi * i / count), z)
        for i in range(count)
    ]


def _sphere_band(radius, rings, segments, centre, smooth, polar_from, polar_to):
    cx, cy, cz = centre

    def point(ring, segment):
        polar = polar_from + (polar_to - polar_from) * ring / rings
        azimuth = 2.0 * math.pi * segment / segments
        direction = (math.sin(polar) * math.cos(azimuth), math.sin(polar) * math.sin(azimuth),
                     math.cos(polar))
        return direction, (cx + radius * direction[0], cy + radius * direction[1],
                           cz + radius * direction[2])

    mesh = Mesh()
    if not smooth:
        for r in range(rings):
            for s in range(segments):
                quad = [point(r, s)[1], point(r + 1, s)[1], point(r + 1, s + 1)[1],
                        point(r, s + 1)[1]]
                unique = [c for i, c in enumerate(quad) if _distinct(c, quad[:i])]
                if len(unique) >= 3:
                    mesh.add_face(unique)
        return mesh
    for r in range(rings + 1):
        for s in range(segments + 1):
            direction, position = point(r, s)
            mesh.add_vertex(position, direction, (s / segments, r / rings))
    stride = segments + 1
    for r in range(rings):
        for s in range(segments):
            a, b = r * stride + s, (r + 1) * stride + s
            if r > 0 or polar_from > 0.0:
                mesh.triangles.append((a, b, a + 1))
            mesh.triangles.append((a + 1, b, b + 1))
    return mesh


def _distinct(corner, others):
    return all(sum((a - b) ** 2 for a, b in zip(corner, o)) > 1e-12 for o in others)


def _normal_matrix(m):
    """Cofactor matrix of m's 3x3 part: the inverse transpose up to a positive factor
    when the determinant is positive (the winding flip in transformed covers the rest)."""
    a = [[m[r][c] for c in range(3)] for r in range(3)]
    cof = [[0.0] * 3 for _ in range(3)]
    for r in range(3):
        for c in range(3):
            r1, r2 = [i for i in range(3) if i != r]
            c1, c2 = [i for i in range(3) if i != c]
            cof[r][c] = (-1) ** (r + c) * (a[r1][c1] * a[r2][c2] - a[r1][c2] * a[r2][c1])
    sign = 1.0 if _determinant3(m) >= 0.0 else -1.0
    return [[sign * v for v in row] for row in cof]


def _apply3(m, v):
    return tuple(m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2] for r in range(3))


def _determinant3(m):
    return (m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
            - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
            + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]))
