"""The manifest: what the generator built, for the game's code to agree with.

Written as manifest.json beside Models/, Textures/ and Sounds/, from the same
values the files are built from:

    characters  per model file: its clip's frame count and segments (name,
                first and last frame, whether the game restarts it), the node
                holding its skeleton and the skeleton's root bone
    bat         the placement the bat's file is drawn for (scale, then offset)
    levels      the scale the game gives a level file, the player's start,
                per level file its top-level nodes and its event triggers, and
                the level titles
"""

import json

from . import bat_motion, levels, skinned


def character(rig, clip):
    return {
        "frameCount": clip.frame_count,
        "segments": [{"name": s.name, "first": s.first, "last": s.last, "loops": s.loops}
                     for s in clip.segments],
        "skeletonRoot": skinned.ARMATURE,
        "rootBone": rig.children(None)[0].name,
    }


def level(document):
    events = document.find(levels.EVENTS)
    return {
        "nodes": [node.name for node in document.nodes],
        "events": [] if events is None else [node.name for node in events.children],
    }


def describe(characters, level_documents, title_files):
    """characters and level_documents by file name; title_files: names."""
    return {
        "characters": {name: character(c.rig, c.clip) for name, c in characters.items()},
        "bat": {"scale": bat_motion.BAT_SCALE, "offset": list(bat_motion.BAT_OFFSET)},
        "levels": {
            "scale": levels.LEVEL_SCALE,
            "playerStart": list(levels.SPAWN_CENTRE),
            "files": {name: level(document) for name, document in level_documents.items()},
            "titles": list(title_files),
        },
    }


def write(path, manifest):
    text = json.dumps(manifest, indent=2, sort_keys=True) + "\n"
    with open(path, "wb") as output:
        output.write(text.encode("utf-8"))
