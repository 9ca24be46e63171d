"""Skinned, keyframe-animated models on top of the COLLADA writer.

A character becomes three things in its ``collada.Document``:

- a node "Armature" holding the rig's bones as JOINT nodes (id, name and sid
  are the bone's name, the name the skin's joints use);
- a node that instantiates a skin controller over the character's mesh, with
  one inverse bind matrix per bone and at most four weights per vertex;
- one <animation> per bone with a key at every frame of the clip (24 per
  second, from frame 0 to the clip's last frame inclusive): the bone's local
  matrix, which Assimp splits into translation, rotation and scale keys of
  equal count. Assimp reports these times in milliseconds (1000 ticks per
  second), so the clip's duration is its frame count * 1000 / 24.

``add_skin`` and ``add_channel`` write a skin and a node's keys of any other
model the same way.
"""

import xml.etree.ElementTree as ET

from . import collada, transforms
from .motion import Clip
from .rig import Rig

MAX_WEIGHTS = 4
ARMATURE = "Armature"


def add_character(document, rig: Rig, clip: Clip, mesh, weights, material, mesh_name):
    """Adds the armature, the skinned mesh node `mesh_name` and the clip to the document."""
    if len(weights) != len(mesh.positions):
        raise ValueError("one weight list per vertex is needed")
    clip.check(rig)
    document.add(collada.Node(ARMATURE, children=_joint_nodes(rig, None)))
    body = document.add(collada.Node(mesh_name))
    body.instances.append(
        lambda doc, element: _write_skin(doc, element, rig, mesh, weights, material, mesh_name))
    document.builders.append(lambda doc: _write_clip(doc, rig, clip))
    return body


def _joint_nodes(rig, parent):
    return [
        collada.Node(bone.name, transforms.translation(*rig.rest_offset(bone)),
                     children=_joint_nodes(rig, bone.name), node_type="JOINT", sid=bone.name)
        for bone in rig.children(parent)
    ]


def _normalised_weights(vertex_weights):
    strongest = sorted(vertex_weights, key=lambda pair: -pair[1])[:MAX_WEIGHTS]
    total = sum(w for _, w in strongest)
    return [(bone, w / total) for bone, w in strongest]


def _write_skin(document, node_element, rig, mesh, weights, material, mesh_name):
    add_skin(document, node_element, mesh, mesh_name, material, rig.names(),
             [rig.inverse_bind(bone) for bone in rig.bones], weights, ARMATURE)


def add_skin(document, node_element, mesh, mesh_name, material, joints, inverse_binds, weights,
             skeleton_root):
    """Writes a skin controller over the mesh and instantiates it in node_element.

    joints names the skin's joints (nodes of the skeleton under skeleton_root), one
    inverse bind matrix each; weights holds, per vertex, (joint name, weight) pairs:
    the strongest four are kept and scaled to sum to one."""
    geometry_id = document.geometry_id(mesh, mesh_name, "material")
    controller_id = document.unique_id(mesh_name + "-skin")
    controller = ET.SubElement(document.library("library_controllers"), "controller",
                               {"id": controller_id, "name": mesh_name})
    skin = ET.SubElement(controller, "skin", {"source": "#" + geometry_id})
    ET.SubElement(skin, "bind_shape_matrix").text = _matrix_text(transforms.IDENTITY)
    joint_source = document.add_source(skin, controller_id + "-joints", [(n,) for n in joints],
                                       ["JOINT"], "name")
    binds = document.add_source(skin, controller_id + "-bind_poses",
                                [_flat(matrix) for matrix in inverse_binds],
                                ["TRANSFORM"], "float4x4")
    per_vertex = [_normalised_weights(w) for w in weights]
    values = sorted({round(w, 6) for influences in per_vertex for _, w in influences})
    weight_source = document.add_source(skin, controller_id + "-weights",
                                        [(w,) for w in values], ["WEIGHT"])
    joints_element = ET.SubElement(skin, "joints")
    ET.SubElement(joints_element, "input", {"semantic": "JOINT", "source": "#" + joint_source})
    ET.SubElement(joints_element, "input", {"semantic": "INV_BIND_MATRIX", "source": "#" + binds})
    vertex_weights = ET.SubElement(skin, "vertex_weights", {"count": str(len(per_vertex))})
    ET.SubElement(vertex_weights, "input",
                  {"semantic": "JOINT", "source": "#" + joint_source, "offset": "0"})
    ET.SubElement(vertex_weights, "input",
                  {"semantic": "WEIGHT", "source": "#" + weight_source, "offset": "1"})
    ET.SubElement(vertex_weights, "vcount").text = " ".join(str(len(i)) for i in per_vertex)
    index = {w: i for i, w in enumerate(values)}
    ET.SubElement(vertex_weights, "v").text = " ".join(
        "%d %d" % (joints.index(joint), index[round(w, 6)])
        for influences in per_vertex for joint, w in influences)
    instance = ET.SubElement(node_element, "instance_controller", {"url": "#" + controller_id})
    ET.SubElement(instance, "skeleton").text = "#" + skeleton_root
    document.bind_material(instance, {"material": material})


def _write_clip(document, rig, clip):
    times = [clip.seconds(frame) for frame in range(clip.frame_count + 1)]
    locals_per_frame = [{bone.name: rig.local_matrix(bone, pose) for bone in rig.bones}
                        for pose in clip.poses()]
    for bone in rig.bones:
        add_channel(document, bone.name, times, [m[bone.name] for m in locals_per_frame])


def add_channel(document, node_name, times, matrices):
    """One <animation> of the node's "transform" matrix: a key per time (in
    seconds), interpolated linearly."""
    animation_id = document.unique_id(node_name + "-animation")
    animation = ET.SubElement(document.library("library_animations"), "animation",
                              {"id": animation_id})
    inputs = document.add_source(animation, animation_id + "-input", [(t,) for t in times],
                                 ["TIME"])
    outputs = document.add_source(animation, animation_id + "-output",
                                  [_flat(matrix) for matrix in matrices], ["TRANSFORM"],
                                  "float4x4")
    interpolations = document.add_source(animation, animation_id + "-interpolation",
                                         [("LINEAR",) for _ in times], ["INTERPOLATION"], "name")
    sampler_id = document.unique_id(animation_id + "-sampler")
    sampler = ET.SubElement(animation, "sampler", {"id": sampler_id})
    for semantic, source in (("INPUT", inputs), ("OUTPUT", outputs),
                             ("INTERPOLATION", interpolations)):
        ET.SubElement(sampler, "input", {"semantic": semantic, "source": "#" + source})
    ET.SubElement(animation, "channel",
                  {"source": "#" + sampler_id, "target": node_name + "/transform"})


def _flat(matrix):
    return tuple(v for row in matrix for v in row)


def _matrix_text(matrix):
    return " ".join(collada.format_float(v) for v in _flat(matrix))
