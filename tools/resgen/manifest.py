"""The manifest: what the generator built, for the game's code to agree with.

Written as manifest.json beside Models/, Textures/ and Sounds/, from the same
values the files are built from:

    levels      the scale the game gives a level file, the player's start,
                per level file its top-level nodes, its event triggers and what
                the bot plays it by, and the level titles

What the bot plays a level by, in world units:

    grounds     by name, the walkable tops: their extent seen from above
                ("min" and "max" (x, z)), the height of their "top" and, for
                those the bot fights on, the sides over which a struck enemy may
                be sent ("open": of west -x, east +x, north -z, south +z)
    landmarks   by name, points the bot's plan looks for
    route       the legs of the bot's way in order: "waypoints" (each with the
                point it is at, how it is reached ("walk", "jump": walk and jump
                on arrival, "float": float jump onto it) and the horizontal
                "reach" within which it counts as reached), and the ground to
                "clear" of enemies at the leg's end (absent when none)
"""

import json

from . import levels


def ground(ground):
    edges = ground.edges()
    described = {"min": [edges["west"], edges["north"]], "max": [edges["east"], edges["south"]],
                 "top": ground.top}
    if ground.open_sides is not None:
        described["open"] = list(ground.open_sides)
    return described


def leg(leg):
    described = {"waypoints": [{"at": list(w.point), "move": w.move, "reach": w.reach}
                               for w in leg.waypoints]}
    if leg.clear is not None:
        described["clear"] = leg.clear
    return described


def level(builder):
    """A level whose document is built."""
    events = builder.document.find(levels.EVENTS)
    return {
        "nodes": [node.name for node in builder.document.nodes],
        "events": [] if events is None else [node.name for node in events.children],
        "grounds": {g.name: ground(g) for g in builder.grounds},
        "landmarks": {name: list(point) for name, point in builder.landmarks.items()},
        "route": [leg(stretch) for stretch in builder.route],
    }


def describe(level_builders, title_files):
    """level_builders (their documents built) by file name; title_files: names."""
    return {
        "levels": {
            "scale": levels.LEVEL_SCALE,
            "playerStart": list(levels.SPAWN_CENTRE),
            "files": {name: level(builder) for name, builder in level_builders.items()},
            "titles": list(title_files),
        },
    }


def write(path, manifest):
    text = json.dumps(manifest, indent=2, sort_keys=True) + "\n"
    with open(path, "wb") as output:
        output.write(text.encode("utf-8"))
