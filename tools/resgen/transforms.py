"""Row-major 4x4 matrices as tuples of four row tuples.

COLLADA's ``<matrix>`` element is row-major, so these matrices are written out
as they are stored. Points are column vectors: ``apply(m, p)`` computes m * p,
and ``multiply(a, b)`` applies b first, then a.
"""

import math

IDENTITY = ((1.0, 0.0, 0.0, 0.0), (0.0, 1.0, 0.0, 0.0), (0.0, 0.0, 1.0, 0.0), (0.0, 0.0, 0.0, 1.0))


def translation(x, y, z):
    return ((1.0, 0.0, 0.0, x), (0.0, 1.0, 0.0, y), (0.0, 0.0, 1.0, z), (0.0, 0.0, 0.0, 1.0))


def scaling(x, y=None, z=None):
    """Scales by x on every axis, or by (x, y, z) when y and z are given."""
    y = x if y is None else y
    z = x if z is None else z
    return ((x, 0.0, 0.0, 0.0), (0.0, y, 0.0, 0.0), (0.0, 0.0, z, 0.0), (0.0, 0.0, 0.0, 1.0))


def rotation(axis, degrees):
    """Right-handed rotation about 'x', 'y' or 'z' (positive x turns towards y)."""
    c = math.cos(math.radians(degrees))
    s = math.sin(math.radians(degrees))
    if axis == "x":
        rows = ((1, 0, 0), (0, c, -s), (0, s, c))
    elif axis == "y":
        rows = ((c, 0, s), (0, 1, 0), (-s, 0, c))
    elif axis == "z":
        rows = ((c, -s, 0), (s, c, 0), (0, 0, 1))
    else:
        raise ValueError("axis must be 'x', 'y' or 'z', not %r" % (axis,))
    return tuple(tuple(float(v) for v in row) + (0.0,) for row in rows) + ((0.0, 0.0, 0.0, 1.0),)


def multiply(*matrices):
    """The product of the matrices in order: multiply(a, b, c) = a * b * c."""
    result = IDENTITY
    for m in matrices:
        result = tuple(
            tuple(sum(result[r][k] * m[k][c] for k in range(4)) for c in range(4)) for r in range(4)
        )
    return result


def apply(m, point):
    """m applied to the point (x, y, z)."""
    x, y, z = point
    return tuple(m[r][0] * x + m[r][1] * y + m[r][2] * z + m[r][3] for r in range(3))


def apply_direction(m, vector):
    """m's linear part applied to a direction; translation is ignored."""
    x, y, z = vector
    return tuple(m[r][0] * x + m[r][1] * y + m[r][2] * z for r in range(3))


def normalised(vector):
    length = math.sqrt(sum(c * c for c in vector))
    return tuple(c / length for c in vector) if length > 0.0 else tuple(vector)


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def transposed(m):
    """The transpose; for a pure rotation this is its inverse."""
    return tuple(tuple(m[c][r] for c in range(4)) for r in range(4))
