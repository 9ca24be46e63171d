"""The resource generator: deterministic output, and mesh primitives whose
faces point the way their normals say (lighting and the sky depend on it)."""

import filecmp
import json
import os
import tempfile
import unittest

from resgen import generate, levels, shapes, transforms


def centroid(mesh):
    count = len(mesh.positions)
    return tuple(sum(p[i] for p in mesh.positions) / count for i in range(3))


def winding_normal(mesh, triangle):
    a, b, c = (mesh.positions[i] for i in triangle)
    edge1 = tuple(b[i] - a[i] for i in range(3))
    edge2 = tuple(c[i] - a[i] for i in range(3))
    return transforms.cross(edge1, edge2)


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


class GeneratorOutput(unittest.TestCase):
    def test_a_fresh_run_rewrites_the_build_s_files_byte_for_byte(self):
        """The build generated Resources/ in another process (another hash seed);
        a new run must reproduce every file exactly."""
        built = os.environ["VEXA_BUILT_RESOURCES"]
        with tempfile.TemporaryDirectory() as fresh:
            generate.generate_all(fresh)
            for folder in ("Models", "Textures", "Sounds"):
                names = sorted(os.listdir(os.path.join(fresh, folder)))
                self.assertTrue(names, folder)
                match, mismatch, errors = filecmp.cmpfiles(
                    os.path.join(fresh, folder), os.path.join(built, folder), names,
                    shallow=False)
                self.assertEqual((mismatch, errors), ([], []), folder)
            self.assertTrue(filecmp.cmp(os.path.join(fresh, generate.MANIFEST),
                                        os.path.join(built, generate.MANIFEST), shallow=False))


class BotRoutes(unittest.TestCase):
    """The bot follows the routes of the built manifest: a waypoint beside every ground
    sends it into the void, a fight on a ground its leg does not reach never ends."""

    @staticmethod
    def on(point, ground):
        (x, y, z), (west, north), (east, south) = point, ground["min"], ground["max"]
        return west <= x <= east and north <= z <= south and y == ground["top"]

    def test_each_route_sets_out_from_the_start_and_keeps_to_the_grounds(self):
        with open(os.path.join(os.environ["VEXA_BUILT_RESOURCES"], generate.MANIFEST)) as file:
            built = json.load(file)["levels"]
        start_x, _, start_z = built["playerStart"]
        for number in (1, 2, 3):
            level = built["files"]["level%d.dae" % number]
            grounds = level["grounds"]
            start = grounds["Start"]
            self.assertTrue(start["min"][0] < start_x < start["max"][0] and
                            start["min"][1] < start_z < start["max"][1], number)
            first = level["route"][0]["waypoints"][0]
            # Walked to from the start, or floated to from it.
            self.assertTrue(first["move"] == "float" or self.on(first["at"], start), number)
            for leg in level["route"]:
                for waypoint in leg["waypoints"]:
                    self.assertTrue(any(self.on(waypoint["at"], g) for g in grounds.values()),
                                    (number, waypoint))
                if "clear" in leg:
                    cleared = grounds[leg["clear"]]
                    self.assertTrue(self.on(leg["waypoints"][-1]["at"], cleared), leg["clear"])
                    self.assertTrue(cleared["open"], "a struck enemy must have a way off")


class Primitives(unittest.TestCase):
    CLOSED = {
        "box": shapes.box((2.0, 3.0, 4.0)),
        "slab": shapes.slab(6.0, 4.0, 1.0, (1.0, 2.0, 3.0)),
        "ramp": shapes.ramp((0.0, 0.0, 0.0), (10.0, 4.0, 5.0), 4.0, 1.0),
        "descending ramp": shapes.ramp((0.0, 0.0, 5.0), (-6.0, -8.0, 0.0), 3.0, 1.0),
        "cylinder": shapes.cylinder(2.0, 5.0, 9),
        "smooth sphere": shapes.sphere(3.0, 8, 12),
        "faceted sphere": shapes.sphere(3.0, 6, 10, smooth=False),
        "gem": shapes.gem(1.0, 0.5, 1.2),
        "mirrored box": shapes.box((1.0, 2.0, 3.0)).transformed(transforms.scaling(-1.0, 2.0, 1.0)),
        "turned ramp": shapes.ramp((0.0, 0.0, 0.0), (8.0, 0.0, 3.0), 4.0, 1.0).transformed(
            levels.Z_UP_TO_WORLD),
    }

    def test_windings_agree_with_normals(self):
        meshes = dict(self.CLOSED, letters=shapes.block_letters("LEVEL 0!", 7.0, 1.0),
                      dome=shapes.hemisphere(1.0).flipped())
        for name, mesh in meshes.items():
            for triangle in mesh.triangles:
                facing = winding_normal(mesh, triangle)
                for corner in triangle:
                    self.assertGreater(dot(facing, mesh.normals[corner]), 0.0, name)

    def test_closed_convex_shapes_face_outwards(self):
        for name, mesh in self.CLOSED.items():
            middle = centroid(mesh)
            for triangle in mesh.triangles:
                corner = mesh.positions[triangle[0]]
                outwards = tuple(corner[i] - middle[i] for i in range(3))
                self.assertGreater(dot(winding_normal(mesh, triangle), outwards), 0.0, name)

    def test_ramp_top_runs_between_its_end_points(self):
        ramp = shapes.ramp((1.0, 2.0, 3.0), (1.0, 12.0, 7.0), 4.0, 1.0)
        low, high = ramp.bounds()
        self.assertEqual((low[0], high[0]), (-1.0, 3.0))
        self.assertEqual((low[1], high[1]), (2.0, 12.0))
        self.assertEqual((low[2], high[2]), (2.0, 7.0))


class Letters(unittest.TestCase):
    """Letters standing on a sign must not share a plane with the sign where they
    meet it: the depth buffer cannot order the two surfaces and they flicker."""

    def test_coplanar_overlaps_finds_faces_sharing_area_and_not_faces_that_only_touch(self):
        board = shapes.box((10.0, 1.0, 6.0))
        flush = shapes.box((2.0, 1.0, 2.0), (2.0, 0.0, 0.0))  # front and back in the board's
        proud = shapes.box((2.0, 1.0, 2.0), (1.0, -0.75, 0.0))  # sunk half into its front
        beside = shapes.box((2.0, 1.0, 2.0), (6.0, 0.0, 4.0))  # meets it along an edge only
        flickering = {i for i, _ in shapes.coplanar_overlaps(flush, board)}
        self.assertEqual(len(flickering), 4, "the front's and the back's two triangles")
        self.assertEqual(shapes.coplanar_overlaps(proud, board), [])
        self.assertEqual(shapes.coplanar_overlaps(beside, board), [])

    def test_no_letter_face_of_a_level_lies_in_another_face_of_that_level(self):
        letter_materials = {levels.SIGN.name, levels.TITLE.name}
        for number, level in levels.LEVELS.items():
            builder = level()
            groups = list(builder._solid.values()) + list(builder._decorations.values())
            rest = shapes.Mesh().extend(*(mesh for mesh, material in groups
                                          if material.name not in letter_materials))
            for mesh, material in groups:
                if material.name in letter_materials:
                    self.assertEqual(shapes.coplanar_overlaps(mesh, rest), [],
                                     "level %d, %s" % (number, material.name))


if __name__ == "__main__":
    unittest.main()
