"""The first-person bat's skeleton and clip.

The bat is drawn in camera space: the game places it with the local matrix
"scale by BAT_SCALE (2), then translate by BAT_OFFSET (0, 1, -0.825)" and leaves
the view matrix out, so a file point p lands at 2 p + (0, 2, -1.65) in camera
space (x right, y up, the view along -z). The bat's file therefore uses the
camera's axes (Y_UP).

Two bones: "Arm" turns about the player's right shoulder and carries "Hands",
the grip, to which the whole bat is bound. Segments:

  idle    0-54   a slow sway
  walk   61-81   a bob twice per cycle (one per footstep), a little side sway
  swing  81-107  a cock back to the right (to frame 85), a sweep across the view
                 whose tip crosses the crosshair at frame 88.7 (0.32 s, inside
                 the game's hit window of 0.30-0.35 s), a follow-through far to
                 the left (frame 96), then a low return to the rest pose
"""

import math

from .motion import Clip, Segment, keyed, motion, swell, wave
from .rig import Bone, Rig, add, scaled

FRAME_COUNT = 107
IDLE = (0, 54)
WALK = (61, 81)
SWING = (81, 107)

BAT_SCALE = 2.0
BAT_OFFSET = (0.0, 1.0, -0.825)  # in the scaled frame
CAMERA_OFFSET = scaled(BAT_OFFSET, BAT_SCALE)


def file_point(c):
    """The file point shown at camera-space point c."""
    return tuple((c[i] - CAMERA_OFFSET[i]) / BAT_SCALE for i in range(3))


SHOULDER = file_point((0.25, -0.75, -0.25))
GRIP = file_point((0.55, -0.55, -0.95))
_REST_AXIS = (-0.15, 0.9, -0.4)
BAT_AXIS = tuple(c / math.sqrt(sum(a * a for a in _REST_AXIS)) for c in _REST_AXIS)
BAT_LENGTH = 0.55  # file units from the grip to the tip


def bat_tip():
    return add(GRIP, scaled(BAT_AXIS, BAT_LENGTH))


def bat_rig():
    return Rig([Bone("Arm", None, SHOULDER), Bone("Hands", "Arm", GRIP)])


def idle(u):
    return {
        "Arm": motion(rx=1.5 * wave(u, 1), rz=2.5 * wave(u, 1, 0.0) * swell(u)),
        "Hands": motion(rz=-2.0 * swell(u)),
    }


def walk(u):
    return {
        "Arm": motion(rx=2.0 * wave(u, 2), rz=3.0 * wave(u, 1),
                      offset=(0.0, -0.03 * swell(u, 2), 0.0)),
    }


def _frames(keys):
    """Keys given at swing frames, as keys over the segment's progress."""
    return [((frame - SWING[0]) / (SWING[1] - SWING[0]), value) for frame, value in keys]


# +ry turns the arm from the right towards the left; -rx tips the bat forwards.
SWEEP = _frames([(81, 0.0), (85, -15.0), (96, 95.0), (99, 100.0), (105, 10.0), (107, 0.0)])
WRIST = _frames([(81, 0.0), (85, 10.0), (90.5, -50.0), (96, -70.0), (99, -70.0), (107, 0.0)])
DIP = _frames([(81, 0.0), (98, 0.0), (101, -40.0), (105, -25.0), (107, 0.0)])


def swing(u):
    return {
        "Arm": motion(rx=keyed(u, DIP), ry=keyed(u, SWEEP)),
        "Hands": motion(rx=keyed(u, WRIST)),
    }


def bat_clip():
    return Clip(FRAME_COUNT, [
        Segment("idle", *IDLE, idle),
        Segment("walk", *WALK, walk),
        Segment("swing", *SWING, swing, loops=False),
    ], cuts=[(SWING[1], WALK[0]), (SWING[1], IDLE[0]), (IDLE[1], WALK[0]), (WALK[1], IDLE[0])])
