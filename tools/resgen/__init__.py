"""Vexa's Voyage resource generator.

Writes every model, texture and sound the game reads from ``Resources/``.
Standard library only; the same input always gives the same bytes.

Modules:
    transforms -- 4x4 row-major matrices (translation, rotation, scaling).
    shapes     -- triangle-mesh primitives (``Mesh``) in the files' z-up axes.
    collada    -- the COLLADA 1.4.1 writer (materials, geometry, node tree).
    textures   -- procedural PNG textures.
    sounds     -- synthesised 16-bit mono WAV sounds.
    props      -- ruby, terrain, hemisphere and crosshair models.
    levels     -- the four level scenes and the three level titles.
    manifest   -- what was built, for the game's code to check against.
    clip_header -- the game's header of the animated models' clips.
    generate   -- ``generate_all(output_folder)``: everything above.
"""
