"""The game's header of the animated models' clips, written from the clips built here.

    python3 -m resgen.clip_header <header>      (run from tools/)

The build writes the header into its own tree and the game includes it, so the
game cuts every clip where it is authored: the first and last frame of each
segment, which segments the game restarts, the frames it cuts between, the bone
that carries each body, the node that holds the skeletons, the placement in
front of the camera that the bat is modelled for, and how high an enemy's body
centre lies above its feet.
"""

import sys

from . import bat_motion, jumper_motion, motion, roller_motion, skinned, walker_motion

BAT_SEGMENTS = ("idle", "walk", "swing")
ENEMY_SEGMENTS = ("idle A", "idle B", "start walking", "walk", "stop walking", "hit")

# The game's name of each clip, what it says of it, its rig and the clip.
BAT = ("bat", "The bat's clip, both bats'.", bat_motion.bat_rig, bat_motion.bat_clip)
ENEMIES = [
    ("walker", "The Walker's clip, also the boss's.", walker_motion.walker_rig,
     walker_motion.walker_clip),
    ("roller", "The Roller's clip.", roller_motion.roller_rig, roller_motion.roller_clip),
    ("jumper", "The Jumper's clip: it neither starts nor stops walking, both segments are empty.",
     jumper_motion.jumper_rig, jumper_motion.jumper_clip),
]

HEAD = """\
// Written by the resource generator (tools/resgen/clip_header.py) from the clips the
// models are built with; the build writes it again whenever they change.
#pragma once

#include <glm/vec3.hpp>

#include "scene/mesh/ClipLayout.h"

namespace Vexa::scene::mesh {

/// The node that holds an animated model's skeleton; it is never drawn.
inline constexpr const char* skeletonRootNode = "%s";

/// The bat is modelled to be drawn in camera space: scaled by `batScale`, then moved
/// by `batOffset` within the scaled frame.
inline constexpr float batScale = %s;
inline const glm::vec3 batOffset(%s);

/// An enemy model's feet lie this far (at scale 1) below its body's centre, the
/// centre a tumbling enemy turns about.
inline constexpr double enemyBodyCentreHeight = %s;
"""

TAIL = """
}  // namespace Vexa::scene::mesh
"""


def cpp_float(value):
    return repr(float(value)) + "f"


def segments_in_order(clip, names):
    """The clip's segments in the order of `names`, which must name each exactly once."""
    by_name = {segment.name: segment for segment in clip.segments}
    if sorted(by_name) != sorted(names) or len(clip.segments) != len(names):
        raise ValueError(f"the game plays the segments {names}, the clip has {sorted(by_name)}")
    return [by_name[name] for name in names]


def frames(segment):
    return "{%d, %d}" % (segment.first, segment.last)


def bat_clip(clip):
    idle, walk, swing = segments_in_order(clip, BAT_SEGMENTS)
    ends = (idle.first, idle.last, walk.first, walk.last, swing.first, swing.last)
    return "{%s, %d}" % (", ".join(str(f) for f in ends), clip.frame_count)


def enemy_clip(clip):
    """The game starts a walk from the start segment's first frame into the walk's
    first and stops from the walk's last frame, so the segments must meet there."""
    idle_a, idle_b, start, walk, stop, hit = segments_in_order(clip, ENEMY_SEGMENTS)
    if start.last != walk.first or stop.first != walk.last:
        raise ValueError("starting and stopping must meet the walk cycle")
    return "{%s, %s, %s, %s, %d, %d, %d}" % (
        frames(idle_a), frames(idle_b), frames(hit), frames(walk), start.first, stop.last,
        clip.frame_count)


def layout(rig, clip, names):
    segments = ", ".join('{"%s", %s, %s}' % (s.name, frames(s), "true" if s.loops else "false")
                         for s in segments_in_order(clip, names))
    rest_frames = ", ".join(str(f) for f in sorted({f for cut in clip.cuts for f in cut}))
    return '{%d, {%s}, {%s}, "%s"}' % (clip.frame_count, segments, rest_frames,
                                       rig.children(None)[0].name)


DECLARATIONS = """
/// %s
inline constexpr %s %sClip%s;
/// Every segment of it that the game plays, the frames the game cuts between and the
/// bone that carries the body.
inline ClipLayout %sLayout() {
  return %s;
}
"""


def declarations(name, description, rig, clip, clip_type, names):
    typed = bat_clip(clip) if clip_type == "BatClip" else enemy_clip(clip)
    return DECLARATIONS % (description, clip_type, name, typed, name, layout(rig, clip, names))


def header():
    offset = ", ".join(cpp_float(c) for c in bat_motion.BAT_OFFSET)
    text = HEAD % (skinned.ARMATURE, cpp_float(bat_motion.BAT_SCALE), offset,
                   repr(float(motion.BODY_CENTRE[2])))
    name, description, rig, clip = BAT
    text += declarations(name, description, rig(), clip(), "BatClip", BAT_SEGMENTS)
    for name, description, rig, clip in ENEMIES:
        text += declarations(name, description, rig(), clip(), "EnemyClip", ENEMY_SEGMENTS)
    return text + TAIL


def main(arguments):
    if len(arguments) != 1:
        sys.stderr.write("usage: python3 -m resgen.clip_header <header>\n")
        return 2
    with open(arguments[0], "wb") as output:
        output.write(header().encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
