"""The Walker's skeleton and clip, shared by the boss.

Axes of the file: z up, the Walker faces -y, its left hand is on +x. It stands
4.4 units tall on the origin. Segments (frames at 24 per second):

  idle A   0-66   breathes twice and looks left, then right
  idle B  66-124  a roar: head thrown back, jaw open, arms raised, fists shaking
  start  132-150  leans in and lifts into the first stride
  walk   150-190  two strides; the left foot lands at 155, the right at 175,
                  when the game's speed for the Walker is lowest; the body rides
                  highest over the upright standing leg
  stop   190-208  settles back to the rest pose
  hit    214-240  a backward somersault about the body's middle, limbs flailing;
                  the middle sits on the origin, where the game puts the body centre
"""

import math

from .motion import (Segment, blend_poses, bump, ease, keyed, motion, on_the_ground, swell,
                     tumbling, wave, walking_enemy_clip)
from .rig import Bone, Rig, quat_from_euler

FRAME_COUNT = 240
IDLE_A = (0, 66)
IDLE_B = (66, 124)
START_WALK = 132
WALK = (150, 190)
STOP_WALK = 208
HIT = (214, 240)

HIPS = (0.0, 0.0, 1.55)


def walker_rig():
    return Rig([
        Bone("Hips", None, HIPS),
        Bone("Spine", "Hips", (0.0, 0.0, 2.0)),
        Bone("Chest", "Spine", (0.0, 0.0, 2.75)),
        Bone("Head", "Chest", (0.0, -0.05, 3.45)),
        Bone("Jaw", "Head", (0.0, -0.2, 3.6)),
        Bone("UpperArm_L", "Chest", (0.95, 0.0, 3.05)),
        Bone("Forearm_L", "UpperArm_L", (1.15, 0.0, 2.25)),
        Bone("Hand_L", "Forearm_L", (1.2, -0.05, 1.55)),
        Bone("UpperArm_R", "Chest", (-0.95, 0.0, 3.05)),
        Bone("Forearm_R", "UpperArm_R", (-1.15, 0.0, 2.25)),
        Bone("Hand_R", "Forearm_R", (-1.2, -0.05, 1.55)),
        Bone("Thigh_L", "Hips", (0.45, 0.0, 1.45)),
        Bone("Shin_L", "Thigh_L", (0.45, 0.0, 0.8)),
        Bone("Foot_L", "Shin_L", (0.45, 0.0, 0.22)),
        Bone("Thigh_R", "Hips", (-0.45, 0.0, 1.45)),
        Bone("Shin_R", "Thigh_R", (-0.45, 0.0, 0.8)),
        Bone("Foot_R", "Shin_R", (-0.45, 0.0, 0.22)),
    ])


RIG = walker_rig()

# Rotation signs in these axes: +rx tips a bone's top towards -y (forwards) and
# swings a hanging limb backwards; -ry lifts the left arm outwards, +ry the right.


def idle_a(u):
    breath = swell(u, 2)
    look = keyed(u, [(0.0, 0.0), (0.15, 35.0), (0.4, 35.0), (0.6, -35.0), (0.85, -35.0),
                     (1.0, 0.0)])
    sway = 4.0 * wave(u, 2)
    return {
        "Hips": motion(offset=(0.0, 0.0, -0.04 * breath)),
        "Chest": motion(rx=-3.0 * breath),
        "Head": motion(rx=2.0 * breath, rz=look),
        "UpperArm_L": motion(rx=sway, ry=-4.0 * breath),
        "UpperArm_R": motion(rx=-sway, ry=4.0 * breath),
        "Forearm_L": motion(rx=-6.0 * breath),
        "Forearm_R": motion(rx=-6.0 * breath),
    }


def idle_b(u):
    raise_arms = keyed(u, [(0.0, 0.0), (0.25, 1.0), (0.75, 1.0), (1.0, 0.0)])
    shake = 12.0 * wave(u, 6) * bump(u)
    return {
        "Hips": motion(offset=(0.0, 0.0, -0.12 * raise_arms)),
        "Spine": motion(rx=-8.0 * raise_arms),
        "Chest": motion(rx=-10.0 * raise_arms),
        "Head": motion(rx=-25.0 * raise_arms),
        "Jaw": motion(rx=32.0 * raise_arms),
        "UpperArm_L": motion(ry=-115.0 * raise_arms),
        "UpperArm_R": motion(ry=115.0 * raise_arms),
        "Forearm_L": motion(ry=-30.0 * raise_arms + shake),
        "Forearm_R": motion(ry=30.0 * raise_arms - shake),
        "Thigh_L": motion(ry=-8.0 * raise_arms),
        "Thigh_R": motion(ry=8.0 * raise_arms),
    }


STRIDE_SWING = 38.0  # degrees each thigh swings either side of upright
KNEE_LIFT = 70.0


def walk(u):
    """One full gait cycle (two strides) over the segment."""
    phase = u + 0.125  # the left foot is furthest forward at u = 0.125 (frame 155)
    left = STRIDE_SWING * math.sin(2.0 * math.pi * phase)
    lift_left = KNEE_LIFT * max(0.0, math.cos(2.0 * math.pi * phase))
    lift_right = KNEE_LIFT * max(0.0, -math.cos(2.0 * math.pi * phase))
    return on_the_ground(RIG, {
        "Hips": motion(rz=6.0 * math.sin(2.0 * math.pi * phase)),
        "Spine": motion(rx=12.0, rz=-4.0 * math.sin(2.0 * math.pi * phase)),
        "Head": motion(rx=-8.0, ry=3.0 * math.sin(2.0 * math.pi * phase)),
        "Thigh_L": motion(rx=-left - 0.6 * lift_left),
        "Thigh_R": motion(rx=left - 0.6 * lift_right),
        "Shin_L": motion(rx=lift_left + 8.0),
        "Shin_R": motion(rx=lift_right + 8.0),
        "Foot_L": motion(rx=-0.4 * lift_left),
        "Foot_R": motion(rx=-0.4 * lift_right),
        "UpperArm_L": motion(rx=0.8 * left, ry=-8.0),
        "UpperArm_R": motion(rx=-0.8 * left, ry=8.0),
        "Forearm_L": motion(rx=-20.0 + 0.3 * left),
        "Forearm_R": motion(rx=-20.0 - 0.3 * left),
    }, "Hips", ("Foot_L", "Foot_R"))


def start_walking(u):
    return blend_poses({}, walk(0.0), ease(u))


def stop_walking(u):
    return blend_poses(walk(1.0), {}, ease(u))


def hit(u):
    """A backward somersault about the body's middle, which sits on the origin."""
    tumble = quat_from_euler((-360.0 * u, 20.0 * wave(u, 1), 0.0))
    flail = 25.0 * wave(u, 3)
    kick = 35.0 * wave(u, 2)
    return {
        "Hips": tumbling(tumble, HIPS),
        "Head": motion(rx=-20.0 + 10.0 * wave(u, 2)),
        "Jaw": motion(rx=30.0),
        "UpperArm_L": motion(rx=flail, ry=-100.0 + flail),
        "UpperArm_R": motion(rx=-flail, ry=100.0 + flail),
        "Forearm_L": motion(ry=-30.0 - flail),
        "Forearm_R": motion(ry=30.0 - flail),
        "Thigh_L": motion(rx=-40.0 + kick, ry=-25.0),
        "Thigh_R": motion(rx=-40.0 - kick, ry=25.0),
        "Shin_L": motion(rx=50.0 + kick),
        "Shin_R": motion(rx=50.0 - kick),
    }


def walker_clip():
    return walking_enemy_clip(
        FRAME_COUNT, Segment("idle A", *IDLE_A, idle_a), Segment("idle B", *IDLE_B, idle_b),
        Segment("start walking", START_WALK, WALK[0], start_walking, loops=False),
        Segment("walk", *WALK, walk),
        Segment("stop walking", WALK[1], STOP_WALK, stop_walking, loops=False),
        Segment("hit", *HIT, hit))
