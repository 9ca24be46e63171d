"""Skeletons for the animated characters: bones, poses and their transforms.

A bone's rest frame is a pure translation (its joint position in model space), so
the inverse bind matrix of a bone is the translation by minus its joint. A pose
gives some bones a rotation and an offset of their joint; bones left out keep
their rest frame. Matrices are those of `transforms`: row-major, applied to
column vectors.
"""

import math
from dataclasses import dataclass
from typing import Dict, List, Optional, Sequence, Tuple

from . import transforms

Vec3 = Tuple[float, float, float]
Quat = Tuple[float, float, float, float]  # (w, x, y, z)
Matrix = Tuple[Tuple[float, ...], ...]  # row-major 4x4, as in transforms

IDENTITY_QUAT: Quat = (1.0, 0.0, 0.0, 0.0)
ZERO: Vec3 = (0.0, 0.0, 0.0)


def add(a: Sequence[float], b: Sequence[float]) -> Vec3:
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def sub(a: Sequence[float], b: Sequence[float]) -> Vec3:
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def scaled(a: Sequence[float], s: float) -> Vec3:
    return (a[0] * s, a[1] * s, a[2] * s)


def quat_axis_angle(axis: Vec3, degrees: float) -> Quat:
    half = math.radians(degrees) / 2.0
    norm = math.sqrt(sum(c * c for c in axis))
    s = math.sin(half) / norm
    return (math.cos(half), axis[0] * s, axis[1] * s, axis[2] * s)


def quat_mul(a: Quat, b: Quat) -> Quat:
    aw, ax, ay, az = a
    bw, bx, by, bz = b
    return (
        aw * bw - ax * bx - ay * by - az * bz,
        aw * bx + ax * bw + ay * bz - az * by,
        aw * by - ax * bz + ay * bw + az * bx,
        aw * bz + ax * by - ay * bx + az * bw,
    )


def quat_from_euler(degrees: Vec3) -> Quat:
    """Rotation about x first, then y, then z, all about the parent's axes."""
    qx = quat_axis_angle((1.0, 0.0, 0.0), degrees[0])
    qy = quat_axis_angle((0.0, 1.0, 0.0), degrees[1])
    qz = quat_axis_angle((0.0, 0.0, 1.0), degrees[2])
    return quat_mul(qz, quat_mul(qy, qx))


def rotation_rows(q: Quat) -> List[List[float]]:
    w, x, y, z = q
    return [
        [1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)],
        [2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)],
        [2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)],
    ]


def rotate(q: Quat, v: Sequence[float]) -> Vec3:
    r = rotation_rows(q)
    return tuple(r[i][0] * v[0] + r[i][1] * v[1] + r[i][2] * v[2] for i in range(3))


def rigid_matrix(translation: Sequence[float], q: Quat = IDENTITY_QUAT) -> Matrix:
    """Translation times rotation, as one 4x4 matrix."""
    r = rotation_rows(q)
    return tuple(tuple(r[i]) + (float(translation[i]),) for i in range(3)) + ((0.0, 0.0, 0.0, 1.0),)


@dataclass(frozen=True)
class BoneMotion:
    """How a pose moves one bone: a rotation about its joint and an offset of the joint."""

    rotation: Quat = IDENTITY_QUAT
    offset: Vec3 = ZERO


Pose = Dict[str, BoneMotion]


@dataclass(frozen=True)
class Bone:
    name: str
    parent: Optional[str]
    joint: Vec3  # rest position in model space


class Rig:
    """A bone hierarchy; bones are listed parents first."""

    def __init__(self, bones: Sequence[Bone]):
        self.bones = list(bones)
        self.by_name = {bone.name: bone for bone in self.bones}
        for bone in self.bones:
            if bone.parent is not None and bone.parent not in self.by_name:
                raise ValueError(f"bone {bone.name} names unknown parent {bone.parent}")
        if len(self.by_name) != len(self.bones):
            raise ValueError("bone names must be unique")

    def names(self) -> List[str]:
        return [bone.name for bone in self.bones]

    def children(self, name: Optional[str]) -> List[Bone]:
        return [bone for bone in self.bones if bone.parent == name]

    def rest_offset(self, bone: Bone) -> Vec3:
        """The joint relative to the parent's joint: the bone's rest translation."""
        parent_joint = self.by_name[bone.parent].joint if bone.parent else ZERO
        return sub(bone.joint, parent_joint)

    def local_matrix(self, bone: Bone, pose: Pose) -> Matrix:
        motion = pose.get(bone.name, BoneMotion())
        return rigid_matrix(add(self.rest_offset(bone), motion.offset), motion.rotation)

    def inverse_bind(self, bone: Bone) -> Matrix:
        return transforms.translation(*scaled(bone.joint, -1.0))

    def global_matrices(self, pose: Pose) -> Dict[str, Matrix]:
        """Model-space frame of every bone in the pose."""
        result: Dict[str, Matrix] = {}
        for bone in self.bones:
            local = self.local_matrix(bone, pose)
            result[bone.name] = transforms.multiply(result[bone.parent], local) if bone.parent else local
        return result

    def skin_matrices(self, pose: Pose) -> Dict[str, Matrix]:
        """What carries a rest-pose vertex bound to each bone into the pose."""
        frames = self.global_matrices(pose)
        return {b.name: transforms.multiply(frames[b.name], self.inverse_bind(b)) for b in self.bones}


def pivot_offset(rotation: Quat, joint: Vec3, pivot: Vec3, pivot_target: Vec3) -> Vec3:
    """Joint offset of a root bone that turns about `pivot` and moves it to `pivot_target`.

    Lets a whole body tumble about its middle although its root joint sits elsewhere.
    """
    return sub(add(pivot_target, rotate(rotation, sub(joint, pivot))), joint)
