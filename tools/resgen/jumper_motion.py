"""The Jumper's skeleton and clip: a long-eared hopper on folded frog legs.

Axes of the file: z up, the Jumper faces -y, its left side is on +x. Segments:

  idle A   0-68   breathes, tilts its head, twitches its ears
  hop     68-124  the walk cycle, timed to the game's bursts of speed: stands
                  until 0.7 s, crouches, takes off at frame 93 (1.05 s), flies
                  for 23 frames (0.95 s, the burst in which the game moves it),
                  lands at frame 116, squashes and stands again
  idle B 124-171  a happy wiggle: bounces twice, sways and waves both arms
  hit    227-286  a somersault about the body's middle, ears and legs flailing

The start- and stop-walking segments of the Jumper are empty (68-68, 124-124).
"""

from .motion import (Segment, bump, keyed, motion, on_the_ground, rest, swell, tumbling, wave,
                     walking_enemy_clip)
from .rig import Bone, Rig, quat_from_euler

FRAME_COUNT = 286
IDLE_A = (0, 68)
HOP = (68, 124)
IDLE_B = (124, 171)
HIT = (227, 286)

TAKE_OFF = 93
LANDING = 116
HOP_HEIGHT = 1.6
HIPS = (0.0, 0.0, 1.3)


def jumper_rig():
    return Rig([
        Bone("Hips", None, HIPS),
        Bone("Body", "Hips", (0.0, 0.0, 1.8)),
        Bone("Head", "Body", (0.0, -0.15, 2.95)),
        Bone("Ear_L", "Head", (0.3, 0.05, 3.55)),
        Bone("Ear_R", "Head", (-0.3, 0.05, 3.55)),
        Bone("Arm_L", "Body", (0.75, -0.35, 2.35)),
        Bone("Arm_R", "Body", (-0.75, -0.35, 2.35)),
        Bone("Thigh_L", "Hips", (0.6, 0.15, 1.2)),
        Bone("Shin_L", "Thigh_L", (0.65, -0.4, 0.7)),
        Bone("Foot_L", "Shin_L", (0.6, 0.25, 0.22)),
        Bone("Thigh_R", "Hips", (-0.6, 0.15, 1.2)),
        Bone("Shin_R", "Thigh_R", (-0.65, -0.4, 0.7)),
        Bone("Foot_R", "Shin_R", (-0.6, 0.25, 0.22)),
    ])


RIG = jumper_rig()


def hop_progress(frame):
    """0 at take-off, 1 at landing, outside [0, 1] on the ground."""
    return (frame - TAKE_OFF) / (LANDING - TAKE_OFF)


def _legs(fold, spread=0.0):
    """Both legs folded (knees forward, heels back) by `fold`, feet kept flat."""
    pose = {}
    for side, sign in (("L", 1.0), ("R", -1.0)):
        pose["Thigh_" + side] = motion(rx=-35.0 * fold, ry=-sign * spread)
        pose["Shin_" + side] = motion(rx=60.0 * fold)
        pose["Foot_" + side] = motion(rx=-25.0 * fold)
    return pose


def _sink(fold):
    """How far the hips move (down) when `_legs(fold)` keeps the feet on the ground."""
    return on_the_ground(RIG, _legs(fold), "Hips", ("Foot_L", "Foot_R"))["Hips"].offset[2]


def idle_a(u):
    breath = swell(u, 3)
    pose = _legs(0.15 * breath)
    pose.update({
        "Hips": motion(offset=(0.0, 0.0, _sink(0.15 * breath))),
        "Body": motion(rx=-2.0 * breath),
        "Head": motion(ry=12.0 * bump(u) * wave(u, 1)),
        "Ear_L": motion(ry=-15.0 * swell(u, 4) * bump(u)),
        "Ear_R": motion(ry=10.0 * wave(u, 2)),
        "Arm_L": motion(rx=-5.0 * breath),
        "Arm_R": motion(rx=-5.0 * breath),
    })
    return pose


def hop(u):
    frame = HOP[0] + u * (HOP[1] - HOP[0])
    s = hop_progress(frame)
    airborne = 0.0 <= s <= 1.0
    height = 4.0 * HOP_HEIGHT * s * (1.0 - s) if airborne else 0.0
    tuck = bump(s) if airborne else 0.0
    crouch = keyed(frame, [(HOP[0], 0.0), (85.0, 0.0), (TAKE_OFF - 1.0, 0.75), (TAKE_OFF + 2.0, 0.0),
                           (LANDING - 1.0, 0.0), (LANDING + 2.0, 0.6), (HOP[1], 0.0)])
    pose = _legs(crouch + 0.8 * tuck, 10.0 * tuck)
    pose.update({
        "Hips": motion(offset=(0.0, 0.0, height + _sink(crouch))),
        "Body": motion(rx=20.0 * crouch - 10.0 * tuck),
        "Head": motion(rx=-12.0 * crouch + 8.0 * tuck),
        "Ear_L": motion(rx=-60.0 * tuck + 20.0 * crouch),
        "Ear_R": motion(rx=-60.0 * tuck + 20.0 * crouch),
        "Arm_L": motion(rx=40.0 * crouch - 70.0 * tuck),
        "Arm_R": motion(rx=40.0 * crouch - 70.0 * tuck),
    })
    return pose


def idle_b(u):
    """Two little hops on the spot, each a squat and a jump."""
    v = 2.0 * u % 1.0
    squat = 0.6 * bump(v / 0.35) if v < 0.35 else 0.0
    height = 0.0 if v < 0.35 else 0.4 * bump((v - 0.35) / 0.65)
    bounce = swell(u, 2)
    wiggle = 25.0 * wave(u, 2) * bump(u)
    pose = _legs(squat)
    pose.update({
        "Hips": motion(rz=wiggle, offset=(0.0, 0.0, height + _sink(squat))),
        "Body": motion(ry=0.4 * wiggle),
        "Head": motion(ry=-0.5 * wiggle),
        "Ear_L": motion(ry=-20.0 * bounce),
        "Ear_R": motion(ry=20.0 * bounce),
        "Arm_L": motion(ry=-100.0 * bump(u) + 20.0 * wave(u, 4) * bump(u)),
        "Arm_R": motion(ry=100.0 * bump(u) + 20.0 * wave(u, 4) * bump(u)),
    })
    return pose


def hit(u):
    tumble = quat_from_euler((-360.0 * u, 30.0 * wave(u, 1), 0.0))
    kick = 35.0 * wave(u, 3)
    pose = _legs(0.5 + 0.3 * wave(u, 2), 20.0)
    pose.update({
        "Hips": tumbling(tumble, HIPS),
        "Thigh_L": motion(rx=-20.0 + kick, ry=-20.0),
        "Thigh_R": motion(rx=-20.0 - kick, ry=20.0),
        "Ear_L": motion(rx=50.0 * wave(u, 4), ry=-30.0),
        "Ear_R": motion(rx=-50.0 * wave(u, 4), ry=30.0),
        "Arm_L": motion(ry=-120.0 + 25.0 * wave(u, 3)),
        "Arm_R": motion(ry=120.0 + 25.0 * wave(u, 3)),
    })
    return pose


def jumper_clip():
    return walking_enemy_clip(
        FRAME_COUNT, Segment("idle A", *IDLE_A, idle_a), Segment("idle B", *IDLE_B, idle_b),
        Segment("start walking", HOP[0], HOP[0], rest, loops=False),
        Segment("walk", *HOP, hop),
        Segment("stop walking", HOP[1], HOP[1], rest, loops=False),
        Segment("hit", *HIT, hit))
