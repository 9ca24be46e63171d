"""Smooth body parts for the characters, each bound to its bones.

A character is one skinned mesh assembled from parts. A part is a shape, the
column of the character's texture atlas it is painted from, and its binding:
one bone, or a blend from one bone to another along a line. The atlas is cut
into vertical columns, so a part's texture never depends on which way up the
game reads the image.
"""

import math
from dataclasses import dataclass
from typing import List, Sequence, Tuple, Union

from . import shapes, transforms
from .rig import Vec3, add, scaled, sub

UV_MARGIN = 0.1  # of a column's width and of the height: keeps filtering inside the column

Weights = List[Tuple[str, float]]


@dataclass(frozen=True)
class Blend:
    """Bound to `first` at `start`, to `second` at `end`, eased in between."""

    first: str
    second: str
    start: Vec3
    end: Vec3

    def weights(self, point: Sequence[float]) -> Weights:
        axis = sub(self.end, self.start)
        length_squared = sum(c * c for c in axis)
        t = sum(a * b for a, b in zip(sub(point, self.start), axis)) / length_squared
        t = min(1.0, max(0.0, t))
        w = t * t * (3.0 - 2.0 * t)
        if w <= 0.0:
            return [(self.first, 1.0)]
        if w >= 1.0:
            return [(self.second, 1.0)]
        return [(self.first, 1.0 - w), (self.second, w)]


Binding = Union[str, Blend]


@dataclass
class Part:
    mesh: shapes.Mesh
    column: int
    binding: Binding

    def weights(self) -> List[Weights]:
        if isinstance(self.binding, str):
            return [[(self.binding, 1.0)] for _ in self.mesh.positions]
        return [self.binding.weights(p) for p in self.mesh.positions]


class Assembly:
    """The parts of one character merged into one mesh with per-vertex weights."""

    def __init__(self, columns: int):
        self.columns = columns
        self.mesh = shapes.Mesh()
        self.weights: List[Weights] = []

    def add(self, mesh: shapes.Mesh, column: int, binding: Binding) -> "Assembly":
        part = Part(mesh, column, binding)
        self.weights.extend(part.weights())
        self.mesh.extend(_in_column(mesh, column, self.columns))
        return self

    def mirrored(self, mesh: shapes.Mesh, column: int, left: Binding, right: Binding = None):
        """Adds a part modelled on the left (+x) side and its mirror image on the right,
        bound to `right` (or to `left` as well, for parts of one middle bone)."""
        self.add(mesh, column, left)
        mirror = mesh.transformed(transforms.scaling(-1.0, 1.0, 1.0))
        return self.add(mirror, column, left if right is None else right)


def _in_column(mesh: shapes.Mesh, column: int, columns: int) -> shapes.Mesh:
    """A copy whose uvs are squeezed into the atlas column."""
    (u0, v0), (u1, v1) = ((min(uv[i] for uv in mesh.uvs) for i in range(2)),
                          (max(uv[i] for uv in mesh.uvs) for i in range(2)))
    result = mesh.transformed(transforms.IDENTITY)
    span = 1.0 - 2.0 * UV_MARGIN

    def squeeze(value, low, high):
        return UV_MARGIN + span * ((value - low) / (high - low) if high > low else 0.5)

    result.uvs = [((column + squeeze(u, u0, u1)) / columns, squeeze(v, v0, v1))
                  for u, v in mesh.uvs]
    return result


def ellipsoid(radii: Vec3, centre: Vec3, rings: int = 10, segments: int = 16) -> shapes.Mesh:
    return shapes.sphere(1.0, rings, segments).transformed(
        transforms.multiply(transforms.translation(*centre), transforms.scaling(*radii)))


def ball(radius: float, centre: Vec3, rings: int = 10, segments: int = 16) -> shapes.Mesh:
    return shapes.sphere(radius, rings, segments, centre)


def line_frame(start: Vec3, end: Vec3):
    """Two unit vectors across the line from start to end, and the unit line."""
    axis = transforms.normalised(sub(end, start))
    helper = (1.0, 0.0, 0.0) if abs(axis[0]) < 0.9 else (0.0, 1.0, 0.0)
    across = transforms.normalised(transforms.cross(axis, helper))
    return across, transforms.cross(axis, across), axis


def tube(start: Vec3, end: Vec3, start_radius: float, end_radius: float,
         segments: int = 12) -> shapes.Mesh:
    """A smooth tapered tube with flat caps, e.g. a limb between two joints."""
    a, b, axis = line_frame(start, end)
    length = math.dist(start, end)
    slope = (start_radius - end_radius) / length
    mesh = shapes.Mesh()
    for ring, (centre, radius) in enumerate(((start, start_radius), (end, end_radius))):
        for s in range(segments + 1):
            angle = 2.0 * math.pi * s / segments
            radial = add(scaled(a, math.cos(angle)), scaled(b, math.sin(angle)))
            normal = transforms.normalised(add(radial, scaled(axis, slope)))
            mesh.add_vertex(add(centre, scaled(radial, radius)), normal, (s / segments, ring))
    stride = segments + 1
    for s in range(segments):
        mesh.triangles.append((s, s + 1, stride + s + 1))
        mesh.triangles.append((s, stride + s + 1, stride + s))
    for centre, radius, facing in ((start, start_radius, -1.0), (end, end_radius, 1.0)):
        ring = [add(centre, scaled(add(scaled(a, math.cos(t)), scaled(b, math.sin(t))), radius))
                for t in (2.0 * math.pi * s / segments for s in range(segments))]
        mesh.add_face(ring if facing > 0.0 else list(reversed(ring)))
    return mesh


def cone(base: Vec3, tip: Vec3, radius: float, segments: int = 8) -> shapes.Mesh:
    """A faceted cone: horns, spikes, teeth and claws."""
    a, b, _ = line_frame(base, tip)
    ring = [add(base, scaled(add(scaled(a, math.cos(t)), scaled(b, math.sin(t))), radius))
            for t in (2.0 * math.pi * s / segments for s in range(segments))]
    mesh = shapes.Mesh()
    for i in range(segments):
        mesh.add_face([ring[i], ring[(i + 1) % segments], tuple(tip)])
    mesh.add_face(list(reversed(ring)))
    return mesh
