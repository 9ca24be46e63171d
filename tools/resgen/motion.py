"""Keyframe clips built from segments: one pose per frame at 24 frames per second.

The game cuts every clip into segments by frame numbers and starts one after the
other, so each segment is authored on its own as a function of its progress
u in [0, 1]. Frames between segments are blended from the neighbouring ends.
`Clip.check` makes sure the cuts the game performs never jump: looping segments
end where they start, and the frames the game cuts between hold the same pose.
"""

import math
from dataclasses import dataclass
from typing import Callable, Dict, List, Sequence, Tuple

from . import transforms
from .rig import BoneMotion, Pose, Quat, Rig, Vec3, add, pivot_offset, quat_from_euler

FRAMES_PER_SECOND = 24
POSE_TOLERANCE = 1e-6


def motion(rx: float = 0.0, ry: float = 0.0, rz: float = 0.0,
           offset: Vec3 = (0.0, 0.0, 0.0)) -> BoneMotion:
    """A bone turned by Euler angles in degrees (x, then y, then z) and shifted by `offset`."""
    return BoneMotion(quat_from_euler((rx, ry, rz)), tuple(float(c) for c in offset))


# An enemy's body centre above its feet, at the model's scale: the centre of the
# game's capsule, which the game's header of the clips gives it.
BODY_CENTRE = (0.0, 0.0, 2.2)


def tumbling(rotation: Quat, root_joint: Vec3) -> BoneMotion:
    """A root bone turned about the body's centre, with that centre on the model origin.

    While an enemy tumbles the game puts the model origin on the body's centre.
    """
    return BoneMotion(rotation, pivot_offset(rotation, root_joint, BODY_CENTRE, (0.0, 0.0, 0.0)))


def ease(u: float) -> float:
    """Smoothstep: leaves and arrives at rest."""
    u = min(1.0, max(0.0, u))
    return u * u * (3.0 - 2.0 * u)


def wave(u: float, cycles: float, phase: float = 0.0) -> float:
    """A sine with `cycles` whole periods over the segment, shifted by `phase` periods."""
    return math.sin(2.0 * math.pi * (cycles * u + phase))


def swell(u: float, cycles: float = 1.0) -> float:
    """Rises from 0 to 1 and back `cycles` times over the segment (a raised cosine)."""
    return 0.5 - 0.5 * math.cos(2.0 * math.pi * cycles * u)


def bump(u: float) -> float:
    """Zero at both ends, one in the middle: an excursion that comes back."""
    return math.sin(math.pi * min(1.0, max(0.0, u)))


def keyed(u: float, keys: Sequence[Tuple[float, float]]) -> float:
    """The value at u of keys (u_i, value_i), eased from one key to the next."""
    if u <= keys[0][0]:
        return keys[0][1]
    for (u0, v0), (u1, v1) in zip(keys, keys[1:]):
        if u <= u1:
            return v0 + (v1 - v0) * ease((u - u0) / (u1 - u0))
    return keys[-1][1]


def slerp(a: Quat, b: Quat, f: float) -> Quat:
    dot = sum(x * y for x, y in zip(a, b))
    if dot < 0.0:
        b, dot = tuple(-c for c in b), -dot
    if dot > 0.9999:
        mixed = [x + f * (y - x) for x, y in zip(a, b)]
    else:
        theta = math.acos(dot)
        wa, wb = math.sin((1 - f) * theta), math.sin(f * theta)
        mixed = [(wa * x + wb * y) / math.sin(theta) for x, y in zip(a, b)]
    norm = math.sqrt(sum(c * c for c in mixed))
    return tuple(c / norm for c in mixed)


def blend_poses(a: Pose, b: Pose, f: float) -> Pose:
    result: Pose = {}
    for name in set(a) | set(b):
        ma, mb = a.get(name, BoneMotion()), b.get(name, BoneMotion())
        offset = tuple(x + f * (y - x) for x, y in zip(ma.offset, mb.offset))
        result[name] = BoneMotion(slerp(ma.rotation, mb.rotation, f), offset)
    return result


PoseFunction = Callable[[float], Pose]


def rest(_u: float) -> Pose:
    return {}


@dataclass(frozen=True)
class Segment:
    name: str
    first: int
    last: int
    pose_at: PoseFunction
    loops: bool = True  # the game restarts it, so its last pose must equal its first

    def pose_of_frame(self, frame: int) -> Pose:
        span = self.last - self.first
        return self.pose_at((frame - self.first) / span if span else 0.0)


class Clip:
    """A clip of `frame_count` frames (keys at frames 0 .. frame_count inclusive)."""

    def __init__(self, frame_count: int, segments: Sequence[Segment],
                 cuts: Sequence[Tuple[int, int]] = ()):
        self.frame_count = frame_count
        self.segments = sorted(segments, key=lambda s: (s.first, s.last))  # in frame order
        self.cuts = list(cuts)  # frame pairs the game jumps between

    def seconds(self, frame: float) -> float:
        return frame / FRAMES_PER_SECOND

    def poses(self) -> List[Pose]:
        return [self.pose_of_frame(frame) for frame in range(self.frame_count + 1)]

    def pose_of_frame(self, frame: int) -> Pose:
        for segment in self.segments:
            if segment.first <= frame <= segment.last:
                return segment.pose_of_frame(frame)
        return self._between_segments(frame)

    def _between_segments(self, frame: int) -> Pose:
        before = [s for s in self.segments if s.last < frame]
        after = [s for s in self.segments if s.first > frame]
        start_frame, start_pose = (before[-1].last, before[-1].pose_of_frame(before[-1].last)) \
            if before else (0, {})
        end_frame, end_pose = (after[0].first, after[0].pose_of_frame(after[0].first)) \
            if after else (self.frame_count, {})
        return blend_poses(start_pose, end_pose, ease((frame - start_frame) / (end_frame - start_frame)))

    def check(self, rig: Rig) -> None:
        """Raises when a segment does not loop or a cut of the game would jump."""
        for segment in self.segments:
            if segment.loops:
                _require_same(rig, segment.pose_of_frame(segment.first),
                              segment.pose_of_frame(segment.last), f"{segment.name} loop")
        for earlier, later in zip(self.segments, self.segments[1:]):
            if earlier.last == later.first:
                _require_same(rig, earlier.pose_of_frame(earlier.last),
                              later.pose_of_frame(later.first), f"{earlier.name}/{later.name}")
        for a, b in self.cuts:
            _require_same(rig, self.pose_of_frame(a), self.pose_of_frame(b), f"cut {a}->{b}")
        if self.segments[-1].last > self.frame_count:
            raise ValueError("a segment runs past the clip's last frame")


def _require_same(rig: Rig, a: Pose, b: Pose, what: str) -> None:
    frames_a, frames_b = rig.global_matrices(a), rig.global_matrices(b)
    for name in frames_a:
        for row_a, row_b in zip(frames_a[name], frames_b[name]):
            if any(abs(x - y) > POSE_TOLERANCE for x, y in zip(row_a, row_b)):
                raise ValueError(f"{what}: bone {name} does not meet its pose")


def combine(*poses: Pose) -> Pose:
    """Several partial poses of disjoint bones as one."""
    result: Dict[str, BoneMotion] = {}
    for pose in poses:
        result.update(pose)
    return result



def walking_enemy_clip(frame_count: int, idle_a: Segment, idle_b: Segment, start: Segment,
                       walk: Segment, stop: Segment, hit: Segment) -> Clip:
    """The clip of an enemy that starts and stops walking: the game goes from either idle
    to the other or to starting, from starting into the walk cycle, from the walk cycle
    into stopping and from stopping into either idle; hits loop on their own."""
    return Clip(frame_count, [idle_a, idle_b, start, walk, stop, hit],
                cuts=[(idle_b.last, start.first), (idle_a.last, start.first),
                      (stop.last, idle_a.first), (stop.last, idle_b.first)])


def on_the_ground(rig: Rig, pose: Pose, root: str, feet: Sequence[str]) -> Pose:
    """The pose with its root bone lowered or raised so the lowest foot stands where it
    stands at rest: legs that bend or swing carry the body, not the other way round."""
    frames = rig.global_matrices(pose)
    lowest = min(transforms.apply(frames[foot], (0.0, 0.0, 0.0))[2] - rig.by_name[foot].joint[2]
                 for foot in feet)
    moved = dict(pose)
    motion_of_root = pose.get(root, BoneMotion())
    moved[root] = BoneMotion(motion_of_root.rotation,
                             add(motion_of_root.offset, (0.0, 0.0, -lowest)))
    return moved
