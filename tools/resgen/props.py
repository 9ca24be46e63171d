"""The props: ruby, terrain, sky hemisphere and crosshair.

The game places them itself: the ruby stands upright on the elevator and spins
about the file's up axis; the terrain and the hemisphere are unit-sized and
the game scales them by 1000 and moves them 600 units down (z of the z-up
file); the crosshair is drawn in window pixels with the file's root as its
frame, so its file is y-up (an identity root) and lies in the z = 0 plane.
"""

from . import collada, shapes, transforms
from .noise import fractal_noise

RUBY = collada.Material("Ruby", colour=(0.86, 0.06, 0.16))
GROUND = collada.Material("Ground", texture="grass.png")
SKY = collada.Material("Sky", colour=(0.5, 0.7, 0.95))
CROSSHAIR = collada.Material("Crosshair", colour=(1.0, 1.0, 1.0))

TERRAIN_CELLS = 32
TERRAIN_HILL_HEIGHT = 0.04  # 40 world units once scaled by 1000
TERRAIN_TEXTURE_REPEAT = 0.01  # the grass repeats every 10 world units


def ruby():
    """A faceted gem 1.5 units tall, its girdle at the node origin."""
    document = collada.Document(scene_name="RubyScene")
    document.add(collada.Node("Ruby", meshes=[(shapes.gem(0.9, 0.45, 1.05, facets=8), RUBY)]))
    return document


def terrain():
    """Rolling grass hills over the square [-1, 1] x [-1, 1], heights near z = 0."""
    mesh = shapes.Mesh()
    step = 2.0 / TERRAIN_CELLS

    def corner(i, j):
        u, v = i / TERRAIN_CELLS, j / TERRAIN_CELLS
        height = (fractal_noise(u, v, 4, 3, seed=301) - 0.5) * 2.0 * TERRAIN_HILL_HEIGHT
        return (-1.0 + i * step, -1.0 + j * step, height)

    for i in range(TERRAIN_CELLS):
        for j in range(TERRAIN_CELLS):
            a, b, c, d = corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1)
            mesh.add_face([a, b, c], TERRAIN_TEXTURE_REPEAT)
            mesh.add_face([a, c, d], TERRAIN_TEXTURE_REPEAT)
    document = collada.Document(scene_name="TerrainScene")
    document.add(collada.Node("Terrain", meshes=[(mesh, GROUND)]))
    return document


def hemisphere():
    """A unit dome open at the bottom, its faces turned inwards to the viewer."""
    document = collada.Document(scene_name="SkyScene")
    dome = shapes.hemisphere(1.0, rings=12, segments=48).flipped()
    document.add(collada.Node("Sky", meshes=[(dome, SKY)]))
    return document


def crosshair():
    """Four bars around a small gap, one unit from the centre to each bar's end."""
    gap, length, half = 0.25, 1.0, 0.08
    mesh = shapes.Mesh()
    for quarter in range(4):
        turn = transforms.rotation("z", 90.0 * quarter)
        bar = [(gap, -half, 0.0), (length, -half, 0.0), (length, half, 0.0), (gap, half, 0.0)]
        mesh.add_face([transforms.apply(turn, p) for p in bar])
    document = collada.Document(up_axis="Y_UP", scene_name="CrosshairScene")
    document.add(collada.Node("Crosshair", meshes=[(mesh, CROSSHAIR)]))
    return document


PROPS = {
    "ruby.dae": ruby,
    "terrain.dae": terrain,
    "hemisphere.dae": hemisphere,
    "crosshair.dae": crosshair,
}
