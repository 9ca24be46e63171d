"""The Roller's skeleton and clip: a round creature balanced on a striped ball.

Axes of the file: z up, the Roller faces -y, its left arm is on +x. The ball
(radius 1.1) rolls towards -y by turning about +x; one turn covers 2 * pi * 1.1
file units, 3.46 game units at the game's scale 0.5, about what the game moves
the Roller in one roll cycle (3 units per second for 28 frames). Segments:

  idle A    0-55   balances: the ball rocks under the body, the antenna bobs
  idle B   55-89   looks left and right and waves its right arm
  start    89-128  rocks back, leans in and spins the ball up to rolling speed
  roll    128-156  one full turn of the ball, body leaning into the roll
  stop    156-176  the ball runs on, rocks back and settles
  hit     186-226  a somersault about the body's middle, the ball spinning twice
"""

from .motion import (Segment, bump, ease, keyed, motion, swell, tumbling, wave,
                     walking_enemy_clip)
from .rig import Bone, Rig, quat_from_euler

FRAME_COUNT = 226
IDLE_A = (0, 55)
IDLE_B = (55, 89)
START = 89
ROLL = (128, 156)
STOP = 176
HIT = (186, 226)

BALL_RADIUS = 1.1
ROLL_DEGREES_PER_FRAME = 360.0 / (ROLL[1] - ROLL[0])
ROLL_LEAN = 15.0


def roller_rig():
    return Rig([
        Bone("Root", None, (0.0, 0.0, 0.0)),
        Bone("Ball", "Root", (0.0, 0.0, BALL_RADIUS)),
        Bone("Body", "Root", (0.0, 0.0, 2.2)),
        Bone("Head", "Body", (0.0, -0.05, 3.1)),
        Bone("Antenna", "Head", (0.0, 0.1, 3.85)),
        Bone("Arm_L", "Body", (0.8, -0.05, 2.75)),
        Bone("Arm_R", "Body", (-0.8, -0.05, 2.75)),
    ])


# +rx turns the ball's top towards -y: the ball rolls forwards.


def idle_a(u):
    rock = 8.0 * wave(u, 2)
    return {
        "Ball": motion(rx=rock),
        "Body": motion(rx=-0.6 * rock, ry=3.0 * wave(u, 1)),
        "Head": motion(rx=0.3 * rock),
        "Antenna": motion(rx=-1.5 * rock, ry=10.0 * wave(u, 3)),
        "Arm_L": motion(ry=-10.0 * swell(u, 2)),
        "Arm_R": motion(ry=10.0 * swell(u, 2)),
    }


def idle_b(u):
    look = keyed(u, [(0.0, 0.0), (0.2, 40.0), (0.45, 40.0), (0.65, -40.0), (0.85, -40.0),
                     (1.0, 0.0)])
    raise_arm = keyed(u, [(0.0, 0.0), (0.2, 1.0), (0.8, 1.0), (1.0, 0.0)])
    return {
        "Head": motion(rz=look),
        "Antenna": motion(ry=-0.3 * look),
        "Arm_R": motion(ry=130.0 * raise_arm + 25.0 * wave(u, 4) * raise_arm),
        "Body": motion(ry=-4.0 * raise_arm),
    }


def rolling_body(u, weight=1.0):
    """Leaning into the roll, arms swept back, a little bounce twice per turn; `weight`
    fades the whole attitude in and out."""
    bounce, swing = weight * swell(u, 2), weight * wave(u, 2)
    return {
        "Body": motion(rx=ROLL_LEAN * weight, offset=(0.0, 0.0, 0.04 * bounce)),
        "Head": motion(rx=-0.6 * ROLL_LEAN * weight),
        "Arm_L": motion(rx=-50.0 * weight + 6.0 * swing, ry=-25.0 * weight),
        "Arm_R": motion(rx=-50.0 * weight - 6.0 * swing, ry=25.0 * weight),
        "Antenna": motion(rx=-35.0 * weight + 8.0 * swing),
    }


def roll(u):
    pose = rolling_body(u)
    pose["Ball"] = motion(rx=360.0 * u)
    return pose


def start(u):
    """Rocks back, then spins the ball up to rolling speed, ending on the roll's first pose."""
    frames = ROLL[0] - START
    # Ball angle 360 * u^p: starts at rest and arrives with the roll's angular speed.
    exponent = ROLL_DEGREES_PER_FRAME * frames / 360.0
    rock_back = -20.0 * bump(min(1.0, u / 0.35))
    pose = rolling_body(u, ease(u))
    pose["Ball"] = motion(rx=360.0 * u ** exponent + rock_back)
    return pose


def stop(u):
    """The ball runs on at rolling speed, comes to a halt, rocks back and settles at rest."""
    frames = STOP - ROLL[1]
    angular_speed = ROLL_DEGREES_PER_FRAME * frames  # degrees per unit of u
    pose = rolling_body(u, ease(1.0 - u))
    pose["Ball"] = motion(rx=angular_speed * u * (1.0 - u) ** 2)
    return pose


def hit(u):
    tumble = quat_from_euler((-360.0 * u, 0.0, 25.0 * wave(u, 1)))
    flail = 30.0 * wave(u, 3)
    return {
        "Root": tumbling(tumble, (0.0, 0.0, 0.0)),
        "Ball": motion(rx=720.0 * u),
        "Head": motion(rx=-15.0 + 10.0 * wave(u, 2)),
        "Antenna": motion(rx=40.0 * wave(u, 4)),
        "Arm_L": motion(ry=-110.0 + flail),
        "Arm_R": motion(ry=110.0 + flail),
    }


def roller_clip():
    return walking_enemy_clip(
        FRAME_COUNT, Segment("idle A", *IDLE_A, idle_a), Segment("idle B", *IDLE_B, idle_b),
        Segment("start walking", START, ROLL[0], start, loops=False),
        Segment("walk", *ROLL, roll),
        Segment("stop walking", ROLL[1], STOP, stop, loops=False),
        Segment("hit", *HIT, hit))
