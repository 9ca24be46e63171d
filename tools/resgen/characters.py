"""The animated characters: the two bats, the Walker, the boss, the Roller and the Jumper.

Each is one skinned mesh with one textured material (an eight-column atlas,
see character_textures), a skeleton under "Armature" and one clip. Enemies use
the files' z-up axes, face -y, stand on the origin and are 4.4 units tall (the
game draws them at scale 0.5, the boss at 1.4). The bats use camera axes
(see bat_motion).
"""

import math
from typing import NamedTuple

from . import collada
from .bat_motion import BAT_AXIS, BAT_LENGTH, GRIP, bat_clip, bat_rig
from .body_parts import Assembly, Blend, ball, cone, ellipsoid, line_frame, tube
from .character_textures import (COLUMNS, Atlas, banded, brushed_metal, glow, mottled, plain,
                                 scaled_skin, wedges, wood_grain, wrapped)
from .jumper_motion import jumper_clip, jumper_rig
from .rig import add, scaled
from .roller_motion import BALL_RADIUS, roller_clip, roller_rig
from .skinned import add_character
from .walker_motion import walker_clip, walker_rig

# Atlas columns shared by the creatures.
SKIN, BELLY, EYE, PUPIL, TEETH, MOUTH, EXTRA, ACCENT = range(COLUMNS)
# Atlas columns of the bats.
BARREL, GRIP_TAPE, KNOB, BAND = range(4)

WHITE = (0.95, 0.95, 0.9)
BLACK = (0.05, 0.05, 0.07)
IVORY = (0.93, 0.89, 0.75)
MOUTH_RED = (0.35, 0.05, 0.08)


def creature_atlas(file_name, skin, belly, eye, pupil, extra, accent):
    return Atlas(file_name, [skin, belly, plain(eye), plain(pupil), banded(IVORY, 3, 0.1),
                             plain(MOUTH_RED), extra, accent])


# The Walker and the boss -----------------------------------------------------------

def _walker_body(assembly):
    torso = Blend("Spine", "Chest", (0.0, 0.0, 2.0), (0.0, 0.0, 3.0))
    assembly.add(ellipsoid((0.75, 0.55, 0.4), (0.0, 0.0, 1.55)), SKIN, "Hips")
    assembly.add(ellipsoid((1.0, 0.75, 0.95), (0.0, 0.05, 2.5)), SKIN, torso)
    assembly.add(ellipsoid((0.72, 0.35, 0.6), (0.0, -0.5, 2.25)), BELLY, torso)
    assembly.add(ellipsoid((1.1, 0.6, 0.45), (0.0, 0.1, 3.0)), SKIN, "Chest")
    _walker_head(assembly)
    _walker_limbs(assembly)


def _walker_head(assembly):
    assembly.add(ellipsoid((0.62, 0.6, 0.55), (0.0, -0.25, 3.8)), SKIN, "Head")
    assembly.add(ellipsoid((0.55, 0.2, 0.12), (0.0, -0.75, 3.98)), SKIN, "Head")
    assembly.add(ellipsoid((0.45, 0.3, 0.16), (0.0, -0.7, 3.62)), SKIN, "Head")
    assembly.mirrored(ball(0.14, (0.24, -0.76, 3.88)), EYE, "Head")
    assembly.mirrored(ball(0.07, (0.24, -0.88, 3.88), 6, 8), PUPIL, "Head")
    assembly.mirrored(cone((0.18, -0.88, 3.58), (0.18, -0.93, 3.43), 0.05), TEETH, "Head")
    assembly.mirrored(cone((0.55, -0.2, 3.9), (0.95, -0.1, 4.15), 0.12), SKIN, "Head")
    assembly.add(ellipsoid((0.42, 0.32, 0.14), (0.0, -0.62, 3.42)), SKIN, "Jaw")
    assembly.add(ellipsoid((0.36, 0.24, 0.08), (0.0, -0.68, 3.53)), MOUTH, "Jaw")
    for x in (0.1, 0.26):
        assembly.mirrored(cone((x, -0.86, 3.5), (x, -0.89, 3.64), 0.045), TEETH, "Jaw")


def _walker_limbs(assembly):
    limb_parts = [
        (ball(0.36, (0.95, 0.0, 3.05)), SKIN, "UpperArm"),
        (tube((0.95, 0.0, 3.05), (1.15, 0.0, 2.25), 0.28, 0.22), SKIN, "UpperArm"),
        (ball(0.22, (1.15, 0.0, 2.25)), SKIN, "Forearm"),
        (tube((1.15, 0.0, 2.25), (1.2, -0.05, 1.55), 0.24, 0.2), SKIN, "Forearm"),
        (ellipsoid((0.25, 0.28, 0.3), (1.22, -0.1, 1.35)), SKIN, "Hand"),
        (tube((0.45, 0.0, 1.45), (0.45, 0.0, 0.8), 0.34, 0.27), SKIN, "Thigh"),
        (ball(0.27, (0.45, 0.0, 0.8)), SKIN, "Shin"),
        (tube((0.45, 0.0, 0.8), (0.45, 0.0, 0.22), 0.26, 0.2), SKIN, "Shin"),
        (ellipsoid((0.3, 0.45, 0.16), (0.45, -0.2, 0.16)), BELLY, "Foot"),
    ]
    for dx in (-0.15, 0.0, 0.15):
        limb_parts.append((cone((1.22 + dx * 0.6, -0.3, 1.15), (1.22 + dx * 0.6, -0.42, 0.95),
                                0.05), TEETH, "Hand"))
        limb_parts.append((cone((0.45 + dx, -0.6, 0.1), (0.45 + dx, -0.82, 0.06), 0.06), TEETH,
                           "Foot"))
    for mesh, column, bone in limb_parts:
        assembly.mirrored(mesh, column, bone + "_L", bone + "_R")


def _boss_armour(assembly):
    """Horns, a row of spikes down the back and spiked shoulders."""
    assembly.mirrored(cone((0.35, -0.2, 4.2), (0.8, 0.05, 4.85), 0.16), EXTRA, "Head")
    assembly.mirrored(cone((0.2, -0.55, 4.15), (0.3, -0.75, 4.45), 0.07), EXTRA, "Head")
    for z, bone in ((2.2, "Spine"), (2.65, "Chest"), (3.1, "Chest"), (3.5, "Chest")):
        assembly.add(cone((0.0, 0.7, z), (0.0, 1.15, z + 0.15), 0.13), EXTRA, bone)
    assembly.mirrored(cone((1.1, 0.0, 3.3), (1.35, 0.05, 3.8), 0.12), EXTRA, "UpperArm_L",
                      "UpperArm_R")
    assembly.mirrored(cone((1.25, 0.1, 3.1), (1.6, 0.15, 3.35), 0.1), EXTRA, "UpperArm_L",
                      "UpperArm_R")


WALKER_ATLAS = creature_atlas(
    "monster1.png", mottled((0.36, 0.55, 0.22), (0.25, 0.38, 0.14), seed=101),
    banded((0.78, 0.76, 0.45), 6), (0.98, 0.92, 0.55), BLACK,
    banded((0.55, 0.45, 0.3), 5), plain((0.3, 0.45, 0.2)))
BOSS_ATLAS = creature_atlas(
    "monster1_special.png", scaled_skin((0.22, 0.12, 0.26), (1.0, 0.3, 0.05), seed=131),
    banded((0.35, 0.1, 0.12), 6, 0.35), (1.0, 0.25, 0.05), (1.0, 0.9, 0.2),
    banded((0.15, 0.13, 0.12), 7, 0.4), plain((0.6, 0.1, 0.1)))


def walker_model(special):
    assembly = Assembly(COLUMNS)
    _walker_body(assembly)
    if special:
        _boss_armour(assembly)
    atlas = BOSS_ATLAS if special else WALKER_ATLAS
    name = "BossBody" if special else "WalkerBody"
    return _creature_document(assembly, atlas, walker_rig(), walker_clip(), name)


def _cartoon_face(assembly, eye_radius, left_eye, mouth_radii, mouth, tooth_x):
    """Big round eyes with their pupils to the front, a mouth and two buck teeth."""
    pupil = (left_eye[0], left_eye[1] - 0.85 * eye_radius, left_eye[2] + 0.02)
    assembly.mirrored(ball(eye_radius, left_eye), EYE, "Head")
    assembly.mirrored(ball(eye_radius * 0.5, pupil, 6, 8), PUPIL, "Head")
    assembly.add(ellipsoid(mouth_radii, mouth), MOUTH, "Head")
    root = (tooth_x, mouth[1] - 0.05, mouth[2] + 0.02)
    assembly.mirrored(cone(root, add(root, (0.0, -0.02, -0.12)), 0.05, 4), TEETH, "Head")


# The Roller ------------------------------------------------------------------------

ROLLER_ATLAS = creature_atlas(
    "monster2.png", mottled((0.3, 0.35, 0.75), (0.22, 0.25, 0.55), seed=211),
    banded((0.7, 0.75, 0.95), 5), WHITE, BLACK,
    wedges((0.95, 0.75, 0.1), (0.85, 0.2, 0.15), 4), glow((1.0, 1.0, 0.6), (1.0, 0.6, 0.1)))


def roller_model():
    assembly = Assembly(COLUMNS)
    assembly.add(ball(BALL_RADIUS, (0.0, 0.0, BALL_RADIUS), 12, 24), EXTRA, "Ball")
    assembly.add(ellipsoid((0.85, 0.8, 0.7), (0.0, 0.0, 2.6)), SKIN, "Body")
    assembly.add(ellipsoid((0.6, 0.3, 0.45), (0.0, -0.58, 2.55)), BELLY, "Body")
    assembly.add(ellipsoid((0.62, 0.58, 0.55), (0.0, -0.1, 3.3)), SKIN, "Head")
    _cartoon_face(assembly, 0.2, (0.25, -0.6, 3.4), (0.28, 0.1, 0.08), (0.0, -0.62, 3.08), 0.07)
    assembly.add(tube((0.0, 0.1, 3.8), (0.0, 0.15, 4.25), 0.05, 0.04), SKIN, "Antenna")
    assembly.add(ball(0.12, (0.0, 0.15, 4.3)), ACCENT, "Antenna")
    assembly.mirrored(tube((0.8, -0.05, 2.75), (1.25, -0.15, 2.3), 0.15, 0.12), SKIN, "Arm_L",
                      "Arm_R")
    assembly.mirrored(ball(0.17, (1.3, -0.17, 2.22)), BELLY, "Arm_L", "Arm_R")
    return _creature_document(assembly, ROLLER_ATLAS, roller_rig(), roller_clip(), "RollerBody")


# The Jumper ------------------------------------------------------------------------

JUMPER_ATLAS = creature_atlas(
    "monster3.png", mottled((0.92, 0.55, 0.25), (0.8, 0.4, 0.15), seed=307),
    banded((0.98, 0.9, 0.75), 4, 0.1), WHITE, (0.1, 0.05, 0.2),
    plain((0.95, 0.6, 0.65)), mottled((0.55, 0.32, 0.15), (0.45, 0.25, 0.1), seed=311))


def jumper_model():
    assembly = Assembly(COLUMNS)
    body = Blend("Hips", "Body", (0.0, 0.0, 1.3), (0.0, 0.0, 2.4))
    assembly.add(ellipsoid((0.85, 0.75, 0.85), (0.0, 0.0, 1.85)), SKIN, body)
    assembly.add(ellipsoid((0.6, 0.3, 0.6), (0.0, -0.55, 1.8)), BELLY, body)
    assembly.add(ellipsoid((0.7, 0.62, 0.6), (0.0, -0.2, 3.0)), SKIN, "Head")
    _cartoon_face(assembly, 0.2, (0.3, -0.65, 3.25), (0.35, 0.1, 0.07), (0.0, -0.78, 2.82), 0.08)
    assembly.mirrored(ellipsoid((0.14, 0.07, 0.45), (0.38, 0.05, 3.95)), SKIN, "Ear_L", "Ear_R")
    assembly.mirrored(ellipsoid((0.09, 0.03, 0.36), (0.38, -0.01, 3.95)), EXTRA, "Ear_L", "Ear_R")
    for mesh, column, bone in [
        (tube((0.75, -0.35, 2.35), (0.85, -0.65, 1.95), 0.13, 0.1), SKIN, "Arm"),
        (ball(0.15, (0.86, -0.7, 1.88)), BELLY, "Arm"),
        (tube((0.6, 0.15, 1.2), (0.65, -0.4, 0.7), 0.36, 0.24), SKIN, "Thigh"),
        (ball(0.24, (0.65, -0.4, 0.7)), SKIN, "Shin"),
        (tube((0.65, -0.4, 0.7), (0.6, 0.25, 0.22), 0.2, 0.15), SKIN, "Shin"),
        (ellipsoid((0.25, 0.55, 0.13), (0.6, -0.15, 0.13)), ACCENT, "Foot"),
    ] + [(ball(0.09, (0.6 + dx, -0.68, 0.09), 6, 8), ACCENT, "Foot") for dx in (-0.14, 0.0, 0.14)]:
        assembly.mirrored(mesh, column, bone + "_L", bone + "_R")
    return _creature_document(assembly, JUMPER_ATLAS, jumper_rig(), jumper_clip(), "JumperBody")


# The bats --------------------------------------------------------------------------

def _along_bat(s):
    """The point s file units along the bat from the grip."""
    return add(GRIP, scaled(BAT_AXIS, s))


def _bat_profile(assembly, barrel_radius):
    """Knob, taped handle, taper and barrel, in that order along the bat."""
    sections = [
        (-0.07, -0.05, 0.026, 0.026, KNOB),
        (-0.05, 0.2, 0.014, 0.016, GRIP_TAPE),
        (0.2, 0.38, 0.016, barrel_radius, BARREL),
        (0.38, BAT_LENGTH - 0.01, barrel_radius, barrel_radius * 1.03, BARREL),
        (BAT_LENGTH - 0.01, BAT_LENGTH, barrel_radius * 1.03, barrel_radius * 0.8, BARREL),
    ]
    for start, end, r0, r1, column in sections:
        assembly.add(tube(_along_bat(start), _along_bat(end), r0, r1, 16), column, "Hands")
    assembly.add(tube(_along_bat(0.41), _along_bat(0.43), barrel_radius * 1.04,
                      barrel_radius * 1.04, 16), BAND, "Hands")


def _bat_spikes(assembly, barrel_radius):
    """Two rings of spikes round the barrel of the upgraded bat."""
    a, b, _ = line_frame(_along_bat(0.0), _along_bat(1.0))
    for s, twist in ((0.44, 0.0), (0.51, 0.5)):
        for k in range(6):
            angle = 2.0 * math.pi * (k + twist) / 6
            radial = add(scaled(a, math.cos(angle)), scaled(b, math.sin(angle)))
            base = add(_along_bat(s), scaled(radial, barrel_radius * 0.9))
            assembly.add(cone(base, add(base, scaled(radial, 0.05)), 0.014, 6), KNOB, "Hands")


BAT_ATLAS = Atlas("baseball_bat.png", [
    wood_grain((0.82, 0.62, 0.38), seed=401), wrapped((0.12, 0.12, 0.14), (0.3, 0.3, 0.32), 6),
    plain((0.45, 0.2, 0.1)), plain((0.15, 0.25, 0.6))] + [plain(BLACK)] * 4)
MIGHTY_BAT_ATLAS = Atlas("baseball_bat_1.png", [
    brushed_metal((0.45, 0.48, 0.55), seed=421), wrapped((0.5, 0.05, 0.08), (0.85, 0.7, 0.2), 6),
    brushed_metal((0.85, 0.85, 0.9), seed=431), glow((1.0, 0.2, 0.45), (0.5, 0.0, 0.15))]
    + [plain(BLACK)] * 4)


def bat_model(variant):
    assembly = Assembly(COLUMNS)
    barrel_radius = 0.032 if variant == 0 else 0.045
    _bat_profile(assembly, barrel_radius)
    if variant != 0:
        _bat_spikes(assembly, barrel_radius)
    atlas = BAT_ATLAS if variant == 0 else MIGHTY_BAT_ATLAS
    document = collada.Document(up_axis="Y_UP")
    return _finish(document, assembly, atlas, bat_rig(), bat_clip(), "BatMesh")


# Assembly into files ---------------------------------------------------------------

class Character(NamedTuple):
    document: collada.Document
    atlas: Atlas


def _creature_document(assembly, atlas, rig, clip, mesh_name):
    return _finish(collada.Document(), assembly, atlas, rig, clip, mesh_name)


def _finish(document, assembly, atlas, rig, clip, mesh_name):
    material = collada.Material(atlas.file_name.rsplit(".", 1)[0], texture=atlas.file_name)
    add_character(document, rig, clip, assembly.mesh, assembly.weights, material, mesh_name)
    return Character(document, atlas)


MODELS = {
    "baseball_bat.dae": lambda: bat_model(0),
    "baseball_bat_1.dae": lambda: bat_model(1),
    "monster1_animation.dae": lambda: walker_model(False),
    "monster1_animation_special.dae": lambda: walker_model(True),
    "monster2_animation.dae": roller_model,
    "monster3_animation.dae": jumper_model,
}


def write_all(models_folder, textures_folder):
    """Writes the six character models and their textures."""
    for file_name, build in MODELS.items():
        character = build()
        character.document.write(f"{models_folder}/{file_name}")
        character.atlas.write(textures_folder)
