"""The small COLLADA files the C++ tests load, written by the game's own writer.

    python3 -m resgen.fixtures <folder>          (run from tools/)

writes <folder>/<name>.dae for every entry of ``FIXTURES``. The files are y up
and in metres, so what a test reads is what the file says. Their contents are
facts the tests assert: a model named here changes together with the test
that reads it.

Most of them hold the square: two triangles in the plane z = 0 from (-1, -1)
to (1, 1), facing +z, with uvs from (0, 0) to (1, 1), on the node "Body".
The skinned ones bind it to "Bone" (translated by (0, -1, 0)) and its child
"Tip" (translated back by (0, 1, 0)) under "Armature": the bottom edge follows
the bone, the top edge bone and tip half and half. Their clips hold one pose
from 0.5 s to 1 s, so the first key does not lie at 0.
"""

import copy
import math
import os
import sys
import xml.etree.ElementTree as ET

from . import collada, shapes, skinned, transforms

RED = collada.Material("Red", colour=(1.0, 0.0, 0.0))
GREEN = collada.Material("Green", colour=(0.0, 0.5, 0.0))
GREY = collada.Material("Grey", colour=(1.0, 1.0, 1.0))
SKIN_RED = collada.Material("SkinRed", colour=(0.8, 0.1, 0.1))
CHECKER = collada.Material("Checker", texture="skins/checker.png")

BONE_BIND = transforms.translation(0.0, -1.0, 0.0)
TIP_BIND = transforms.translation(0.0, 1.0, 0.0)
# The tip turned a quarter about x: the square's top edge bends away.
TIP_TURNED = transforms.multiply(TIP_BIND, transforms.rotation("x", 90.0))
SQUARE_WEIGHTS = [[("Bone", 1.0)], [("Bone", 1.0)],
                  [("Tip", 0.5), ("Bone", 0.5)], [("Tip", 0.5), ("Bone", 0.5)]]
HELD_FROM, HELD_TO = 0.5, 1.0
# Enough nodes that a bone read after them is numbered past the skinning shaders' slots.
FILLER_COUNT = 30


def square(with_uvs=True):
    mesh = shapes.Mesh().add_face([(-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0)],
                                  uvs=[(0, 0), (1, 0), (1, 1), (0, 1)])
    if not with_uvs:
        mesh.uvs = []
    return mesh


def _document(*nodes):
    document = collada.Document(up_axis="Y_UP")
    for node in nodes:
        document.add(node)
    return document


def _hold(document, node_name, pose, times=(HELD_FROM, HELD_TO)):
    document.builders.append(
        lambda doc: skinned.add_channel(doc, node_name, times, [pose] * len(times)))


def coloured_square(material):
    return _document(collada.Node("Body", meshes=[(square(), material)]))


def animated_square():
    """The red square holding still through a two-key clip."""
    document = coloured_square(RED)
    _hold(document, "Body", transforms.IDENTITY)
    return document


def node_tree():
    """A(B(C)) and D(E, F), without meshes."""
    node = collada.Node
    return _document(node("A", children=[node("B", children=[node("C")])]),
                     node("D", children=[node("E"), node("F")]))


def nested_matrices():
    """"Outer" moved by (1, 2, 3) and turned 0.5 radians about z, holding "Inner",
    moved by (0, 4, 0) and scaled by 2."""
    outer = transforms.multiply(transforms.translation(1.0, 2.0, 3.0),
                                transforms.rotation("z", math.degrees(0.5)))
    inner = transforms.multiply(transforms.translation(0.0, 4.0, 0.0), transforms.scaling(2.0))
    return _document(collada.Node("Outer", outer, children=[collada.Node("Inner", inner)]))


def square_without_uvs():
    return _document(collada.Node("Body", meshes=[(square(with_uvs=False), RED)]))


def square_with_lines():
    """The red square's geometry also holds three lines along its edges, drawn
    with the triangles' material."""
    body = collada.Node("Body")
    body.instances.append(_instance_with_lines)
    return _document(body)


def _instance_with_lines(document, node_element):
    geometry_id = document.geometry_id(square(), "Body", "material")
    geometry = next(g for g in document.library("library_geometries")
                    if g.get("id") == geometry_id)
    mesh = geometry.find("mesh")
    lines = ET.SubElement(mesh, "lines", {"material": "material", "count": "3"})
    for shared in mesh.find("triangles").findall("input"):
        lines.append(copy.copy(shared))
    ET.SubElement(lines, "p").text = "0 1 1 2 2 3"
    instance = ET.SubElement(node_element, "instance_geometry", {"url": "#" + geometry_id})
    document.bind_material(instance, {"material": RED})


def two_materials():
    """A green square on "L", a square textured with skins/checker.png on "R"."""
    return _document(collada.Node("L", meshes=[(square(), GREEN)]),
                     collada.Node("R", meshes=[(square(), CHECKER)]))


def level_floor(with_sun):
    """A level file: the grey square on "Level" and, if asked, a "Sun" 10 above the origin."""
    document = _document(collada.Node("Level", meshes=[(square(), GREY)]))
    if with_sun:
        document.add(collada.Node("Sun", transforms.translation(0.0, 10.0, 0.0)))
    return document


def _joint(name, matrix, children=()):
    return collada.Node(name, matrix, children=children, node_type="JOINT", sid=name)


def skinned_square(tip_pose=TIP_BIND, clip=True, ghost=False, fillers_before=False,
                   fillers_after=False):
    """The skinned square; the mesh node comes before the skeleton, so its bones
    name nodes read after it. tip_pose is the pose the clip holds (none without
    a clip). A ghost joint names no node: it takes half the bottom left vertex.
    Fillers are empty nodes before or after the whole scene; after it, the clip
    animates the last one too."""
    joints, binds, weights = ["Bone", "Tip"], [TIP_BIND, transforms.IDENTITY], SQUARE_WEIGHTS
    if ghost:
        joints.append("Ghost")
        binds.append(transforms.IDENTITY)
        weights = [[("Ghost", 0.5), ("Bone", 0.5)]] + weights[1:]
    body = collada.Node("Body")
    body.instances.append(lambda doc, element: skinned.add_skin(
        doc, element, square(), "Square", SKIN_RED, joints, binds, weights, "Bone"))
    document = _scene(body, fillers_before, fillers_after)
    if clip:
        _hold(document, "Bone", BONE_BIND)
        _hold(document, "Tip", tip_pose)
    if fillers_after:
        _hold(document, "Filler%d" % (FILLER_COUNT - 1), TIP_BIND, times=(HELD_FROM,))
    return document


def square_on_armature(fillers_before=False):
    """The skinned square's scene with the square unskinned and no clip."""
    return _scene(collada.Node("Body", meshes=[(square(), SKIN_RED)]), fillers_before, False)


def _scene(body, fillers_before, fillers_after):
    fillers = [collada.Node("Filler%d" % n) for n in range(FILLER_COUNT)]
    armature = collada.Node(skinned.ARMATURE,
                            children=[_joint("Bone", BONE_BIND, [_joint("Tip", TIP_BIND)])])
    return _document(*((fillers if fillers_before else []) + [body, armature] +
                       (fillers if fillers_after else [])))


FIXTURES = {
    "red_square": lambda: coloured_square(RED),
    "green_square": lambda: coloured_square(GREEN),
    "animated_square": animated_square,
    "node_tree": node_tree,
    "nested_matrices": nested_matrices,
    "square_without_uvs": square_without_uvs,
    "square_with_lines": square_with_lines,
    "two_materials": two_materials,
    "level_floor": lambda: level_floor(with_sun=False),
    "level_floor_with_sun": lambda: level_floor(with_sun=True),
    "skinned_square": skinned_square,
    "skinned_square_bent": lambda: skinned_square(tip_pose=TIP_TURNED),
    "skinned_square_without_clip": lambda: skinned_square(clip=False),
    "skinned_square_with_ghost": lambda: skinned_square(clip=False, ghost=True),
    "skinned_square_bent_before_fillers": lambda: skinned_square(tip_pose=TIP_TURNED,
                                                                 fillers_after=True),
    "skinned_square_after_fillers": lambda: skinned_square(clip=False, fillers_before=True),
    "square_on_armature": square_on_armature,
    "square_on_armature_after_fillers": lambda: square_on_armature(fillers_before=True),
}


def write_all(folder):
    os.makedirs(folder, exist_ok=True)
    for name, build in FIXTURES.items():
        build().write(os.path.join(folder, name + ".dae"))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.stderr.write("usage: python3 -m resgen.fixtures <output folder>\n")
        sys.exit(2)
    write_all(sys.argv[1])
