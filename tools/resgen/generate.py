"""Writes every resource of the game into an output folder.

    python3 -m resgen <folder>          (run from tools/)
    python3 tools/resgen/generate.py <folder>

creates <folder>/Models, <folder>/Textures and <folder>/Sounds, and
<folder>/manifest.json (see manifest). Files are written only through this
module, so a run always produces the same bytes.
"""

import os
import sys

if __package__ in (None, ""):
    sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    __package__ = "resgen"

from resgen import characters, levels, manifest, props, sounds, textures  # noqa: E402

MANIFEST = "manifest.json"


def generate_all(folder):
    models = os.path.join(folder, "Models")
    for sub in ("Models", "Textures", "Sounds"):
        os.makedirs(os.path.join(folder, sub), exist_ok=True)
    level_builders = {"level%d.dae" % number: level() for number, level in levels.LEVELS.items()}
    for name, builder in level_builders.items():
        builder.build().write(os.path.join(models, name))
    titles = ["level%d_text.dae" % number for number in (1, 2, 3)]
    for number, name in enumerate(titles, 1):
        levels.title(number).write(os.path.join(models, name))
    for name, prop in props.PROPS.items():
        prop().write(os.path.join(models, name))
    textures.write_all(os.path.join(folder, "Textures"))
    characters.write_all(models, os.path.join(folder, "Textures"))
    sounds.write_all(os.path.join(folder, "Sounds"))
    manifest.write(os.path.join(folder, MANIFEST),
                   manifest.describe(level_builders, titles))


def main(arguments):
    if len(arguments) != 1:
        sys.stderr.write("usage: python3 -m resgen <output folder>\n")
        return 2
    generate_all(arguments[0])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
