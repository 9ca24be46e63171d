"""The four level scenes and the three level titles.

Levels are described in world units with y up, as the game sees them after
loading: Assimp turns the z-up file into y-up (file (x, y, z) becomes
(x, z, -y)) and the level loader doubles everything. ``LevelBuilder`` converts
each shape and marker into the file's axes and units.

Conventions the game relies on:
  * meshes of the node "Level" itself are the solid ground; its child "Decor"
    is drawn but not solid;
  * "Sun" is a top-level node whose mesh is the visible sun at the light;
  * "Spawner" and "Events" are top-level identity nodes whose children only
    mark positions;
  * "Elevator", "Door1" and "Door2" are top-level nodes (children of the
    imported root) whose origin the level events move; their meshes are
    modelled around that origin.

Each level function documents its route, and writes it down for the bot: as
waypoints placed on the grounds they belong to, so that a ground moved here
moves the route with it (see ``Ground``).
"""

from collections import namedtuple

from . import collada, shapes, transforms

LEVEL_SCALE = 2.0
# Shapes are modelled z-up (letters read along +x, stand along +z and face -y);
# this turns them into world axes (y up; letters then face +z). It is also the
# turn Assimp gives a z-up file's root.
Z_UP_TO_WORLD = ((1.0, 0.0, 0.0, 0.0), (0.0, 0.0, 1.0, 0.0), (0.0, -1.0, 0.0, 0.0),
                 (0.0, 0.0, 0.0, 1.0))
# World (x, y, z) -> file (x, -z, y) / 2: undoes the import's turn and the level scale.
WORLD_TO_FILE = transforms.multiply(transforms.scaling(1.0 / LEVEL_SCALE),
                                    transforms.transposed(Z_UP_TO_WORLD))

# The light the game shades with, and where the sun is drawn.
SUN_POSITION = (-20.0, 300.0, -20.0)
SUN_RADIUS = 14.0
SPAWN_CENTRE = (0.0, 8.0, -7.0)
EVENTS = "Events"  # the node whose children are the event triggers

GRASS = collada.Material("Grass", texture="grass.png")
ROCK = collada.Material("Rock", texture="rock.png")
WOOD = collada.Material("Wood", texture="wood.png")
METAL = collada.Material("Metal", texture="metal.png")
SAND = collada.Material("Sand", texture="sand.png")
SUN = collada.Material("SunGlow", colour=(1.0, 0.82, 0.35))
BANNER = collada.Material("Banner", colour=(0.95, 0.55, 0.1))
TITLE = collada.Material("TitleLetters", colour=(0.98, 0.78, 0.2))
SIGN = collada.Material("SignLetters", colour=(0.95, 0.3, 0.25))
RUBY_DECOR = collada.Material("Gem", colour=(0.86, 0.06, 0.16))

TOP_LAYER = 0.6
PLATFORM_THICKNESS = 3.0
UNDERSIDE_DEPTH = 6.0


def to_file(mesh):
    """A world-space mesh in the file's axes and units."""
    return mesh.transformed(WORLD_TO_FILE)


def file_point(point):
    return transforms.apply(WORLD_TO_FILE, point)


# The ways a route's waypoint is reached from the one before (the bot's Waypoint::Move).
WALK, JUMP, FLOAT = "walk", "jump", "float"

# A point of a route and how the player gets there: walking, walking and jumping on
# arrival (a take-off point just inside an edge; the next point is where to land), or
# by a float jump from where it stands, landing on the point. It is there within
# `reach`, horizontally.
Waypoint = namedtuple("Waypoint", "point move reach")
# A stretch of a route, and the ground at its end to clear of enemies (or None).
Leg = namedtuple("Leg", "waypoints clear")
Ramp = namedtuple("Ramp", "start end")


def walk(point, reach=1.0):
    return Waypoint(point, WALK, reach)


def jump(point):
    return Waypoint(point, JUMP, 1.0)


def float_to(point, reach):
    return Waypoint(point, FLOAT, reach)


class Ground:
    """A walkable top of a level seen from above: width (x) by depth (z) around
    top_centre, at its height. `open_sides` names, for a ground the bot fights on,
    the sides ("west" -x, "east" +x, "north" -z, "south" +z) over which a struck
    enemy may be sent: those with no neighbouring ground to catch it."""

    def __init__(self, name, top_centre, width, depth, open_sides=None):
        self.name = name
        self.top_centre = top_centre
        self.width = width
        self.depth = depth
        self.open_sides = open_sides

    @property
    def top(self):
        return self.top_centre[1]

    def edges(self):
        """The x of its west and east edges and the z of its north and south ones."""
        x, _, z = self.top_centre
        return {"west": x - self.width * 0.5, "east": x + self.width * 0.5,
                "north": z - self.depth * 0.5, "south": z + self.depth * 0.5}

    def at(self, dx=0.0, dz=0.0):
        """The point of its top (dx, dz) from the centre."""
        x, y, z = self.top_centre
        return (x + dx, y, z + dz)

    def inside(self, side, by, along=0.0):
        """The point of its top `by` inside the edge `side`, `along` that edge
        from its middle (towards +x or +z)."""
        x, y, z = self.top_centre
        edge = self.edges()[side]
        inwards = by if side in ("west", "north") else -by
        if side in ("west", "east"):
            return (edge + inwards, y, z + along)
        return (x + along, y, edge + inwards)


class LevelBuilder:
    """Collects a level in world units and produces its COLLADA document."""

    def __init__(self, number):
        self.number = number
        self.document = collada.Document(scene_name="Level%dScene" % number)
        self.level = collada.Node("Level")
        self.decor = collada.Node("Decor")
        self.spawner = None
        self.events = None
        self._solid = {}
        self._decorations = {}
        self.grounds = []  # the walkable tops: the labels of the level views
        self.landmarks = {}  # name: a point the bot's plan looks for
        self.route = []  # the bot's way through the level, leg by leg

    # Ground ------------------------------------------------------------------

    def solid(self, mesh, material):
        """Adds a world-space mesh to the solid ground."""
        self._merge(self._solid, mesh, material)

    def decorate(self, mesh, material):
        """Adds a world-space mesh that is drawn but not solid."""
        self._merge(self._decorations, mesh, material)

    def ground(self, name, top_centre, width, depth, open_sides=None):
        """Records a walkable top (of a platform, a walkway or a moving part)."""
        ground = Ground(name, top_centre, width, depth, open_sides)
        self.grounds.append(ground)
        return ground

    def platform(self, name, top_centre, width, depth, top=GRASS, body=ROCK, underside=True,
                 underside_drop=None, open_sides=None):
        """A solid platform: a top layer over a rock body, with a rocky point
        hanging below (not solid) so it reads as floating over the void."""
        x, y, z = top_centre
        ground = self.ground(name, top_centre, width, depth, open_sides)
        self.solid(world_slab(width, depth, TOP_LAYER, top_centre), top)
        self.solid(world_slab(width, depth, PLATFORM_THICKNESS - TOP_LAYER,
                              (x, y - TOP_LAYER, z)), body)
        if underside:
            self.decorate(hanging_rock(width, depth, (x, y - PLATFORM_THICKNESS, z),
                                       underside_drop), body)
        return ground

    def pillar(self, name, top_centre, width, depth, bottom):
        """A tall platform: a rock column from bottom up to a grass top."""
        x, y, z = top_centre
        ground = self.ground(name, top_centre, width, depth)
        self.solid(world_slab(width, depth, TOP_LAYER, top_centre), GRASS)
        self.solid(world_slab(width, depth, y - TOP_LAYER - bottom, (x, y - TOP_LAYER, z)), ROCK)
        self.decorate(hanging_rock(width, depth, (x, bottom, z)), ROCK)
        return ground

    def walkway(self, name, top_centre, width, depth, thickness):
        """A solid wooden slab: a bridge."""
        self.solid(world_slab(width, depth, thickness, top_centre), WOOD)
        return self.ground(name, top_centre, width, depth)

    def ramp(self, start, end, width, material=WOOD):
        """A solid walkway whose top runs from start up to end (world points)."""
        self.solid(world_ramp(start, end, width, 1.0), material)
        return Ramp(start, end)

    # The bot's way --------------------------------------------------------------

    def landmark(self, name, position):
        """A point the bot's plan refers to; not part of the file."""
        self.landmarks[name] = position

    def leg(self, waypoints, clear=None):
        """The next stretch of the route, and the ground to clear at its end."""
        self.route.append(Leg(waypoints, clear))

    # Markers and moving parts ------------------------------------------------

    def spawn(self, position):
        """An enemy spawn point; kinds follow the order of the calls."""
        if self.spawner is None:
            self.spawner = self.document.add(collada.Node("Spawner"))
        index = len(self.spawner.children) + 1
        self.spawner.add(self._marker("Spawn%d" % index, position))

    def event(self, name, position):
        """An event trigger node; the game triggers it within 5 units on each axis."""
        if self.events is None:
            self.events = self.document.add(collada.Node(EVENTS))
        self.events.add(self._marker(name, position))

    def marker(self, name, position):
        """A top-level marker node (the boss's spawn point)."""
        self.document.add(self._marker(name, position))

    def moving_part(self, name, origin, mesh, material):
        """A top-level node at a world origin carrying a mesh modelled around
        that origin in world units (the events move the node)."""
        node = collada.Node(name, matrix=transforms.translation(*file_point(origin)),
                            meshes=[(to_file(mesh), material)])
        self.document.add(node)

    def sun(self):
        sphere = shapes.sphere(SUN_RADIUS / LEVEL_SCALE, rings=10, segments=20)
        self.document.add(collada.Node(
            "Sun", matrix=transforms.translation(*file_point(SUN_POSITION)),
            meshes=[(sphere, SUN)]))

    def finish_gate(self, position):
        """Two banner posts and a beam framing a finish marker (decoration)."""
        x, y, z = position
        for side in (-5.0, 5.0):
            self.decorate(world_box((0.8, 9.0, 0.8), (x + side, y + 4.5, z)), WOOD)
        self.decorate(world_box((11.0, 1.2, 0.8), (x, y + 9.0, z)), BANNER)

    def build(self):
        """The finished document: Level (with Decor), then the other nodes."""
        for mesh, material in self._solid.values():
            self.level.add_mesh(to_file(mesh), material)
        for mesh, material in self._decorations.values():
            self.decor.add_mesh(to_file(mesh), material)
        if self.decor.meshes:
            self.level.add(self.decor)
        self.document.nodes.insert(0, self.level)
        return self.document

    def _marker(self, name, position):
        return collada.Node(name, matrix=transforms.translation(*file_point(position)))

    @staticmethod
    def _merge(groups, mesh, material):
        if material.name not in groups:
            groups[material.name] = (shapes.Mesh(), material)
        groups[material.name][0].extend(mesh)


# World-space shapes (y up) -----------------------------------------------------

def world_box(size, centre):
    """An axis-aligned box in world axes: size (x, y, z) around centre."""
    sx, sy, sz = size
    return shapes.box((sx, sz, sy)).transformed(
        transforms.multiply(transforms.translation(*centre), Z_UP_TO_WORLD))


def world_slab(width, depth, thickness, top_centre):
    """A box width (x) by depth (z) whose top face is centred at top_centre."""
    x, y, z = top_centre
    return world_box((width, thickness, depth), (x, y - thickness * 0.5, z))


def world_ramp(start, end, width, thickness):
    """shapes.ramp between world points (y up)."""
    to_shape = transforms.multiply(transforms.scaling(LEVEL_SCALE), WORLD_TO_FILE)
    return shapes.ramp(transforms.apply(to_shape, start), transforms.apply(to_shape, end), width,
                       thickness).transformed(Z_UP_TO_WORLD)


def hanging_rock(width, depth, top_centre, drop=None):
    """An upside-down rocky pyramid under a platform, its tip `drop` below the
    platform's underside (by default deeper under wider platforms)."""
    x, y, z = top_centre
    hw, hd = width * 0.5, depth * 0.5
    if drop is None:
        drop = UNDERSIDE_DEPTH + 0.25 * min(width, depth)
    tip = (x, y - drop, z)
    corners = [(x - hw, y, z - hd), (x + hw, y, z - hd), (x + hw, y, z + hd), (x - hw, y, z + hd)]
    mesh = shapes.Mesh()
    for i in range(4):
        a, b = corners[i], corners[(i + 1) % 4]
        mesh.add_face([a, tip, b])
    return mesh


def block_sign(text, height, depth, centre):
    """World-space block letters reading +x, facing +z, centred at centre."""
    letters = shapes.block_letters(text, height, depth)
    width = shapes.text_width(text, height)
    centred = letters.translated(-width * 0.5, 0.0, -height * 0.5)
    return centred.transformed(transforms.multiply(transforms.translation(*centre),
                                                   Z_UP_TO_WORLD))


# The levels ------------------------------------------------------------------

SPAWN_GROUND = 4.5  # the player's capsule (centre y 8, half-height 2.875) settles on it
ENEMY_LIFT = 2.0  # spawn points float this far above their platform


def start_platform(builder):
    return builder.platform("Start", (0.0, SPAWN_GROUND, -10.0), 20.0, 24.0)


def spawn_on(builder, top, offsets):
    """Spawn points at (dx, dz) offsets from a platform's top centre."""
    x, y, z = top
    for dx, dz in offsets:
        builder.spawn((x + dx, y + ENEMY_LIFT, z + dz))


def level1():
    """Level 1: hops along -z to the enemy arena, down onto the elevator.

    Start (top y 4.5) -> jump 7 to P1 (5.5) -> jump 7 to P2 (7.5) -> wooden
    ramp up to P3 (13.5) -> jump 8 to the arena (15, 40 x 36, six enemies) ->
    drop 4 across a 4-unit gap onto the lowered elevator (top 11; the wave
    falls onto it, the ruby appears) -> the elevator rises to its rest height
    21 beside the ledge (21) -> the finish gate.
    """
    builder = LevelBuilder(1)
    start = start_platform(builder)
    p1 = builder.platform("P1", (0.0, 5.5, -36.0), 14.0, 14.0)
    p2 = builder.platform("P2", (10.0, 7.5, -56.0), 12.0, 12.0)
    ramp = builder.ramp((10.0, 7.5, -62.0), (10.0, 13.5, -80.0), 8.0)
    p3 = builder.platform("P3", (10.0, 13.5, -86.0), 14.0, 12.0)
    # P3 lies off the arena's south side, the elevator off its north.
    arena = builder.platform("Arena", (-10.0, 15.0, -118.0), 40.0, 36.0,
                             open_sides=("west", "east"))
    spawn_on(builder, arena.top_centre,
             [(-10, 10), (10, 10), (-10, -10), (10, -10), (0, 12), (0, -12)])
    elevator_size = 26.0
    elevator_rest = (-10.0, 21.0, -153.0)
    builder.moving_part("Elevator", elevator_rest, elevator_mesh(elevator_size), METAL)
    builder.landmark("ElevatorRest", elevator_rest)
    lowered = (elevator_rest[0], elevator_rest[1] - 10.0, elevator_rest[2])
    # The arena rises off the lowered elevator's north side, the ledge off its south.
    elevator = builder.ground("Elevator", lowered, elevator_size, elevator_size,
                              open_sides=("west", "east"))
    ruby = (lowered[0], lowered[1] + 3.0, lowered[2])  # where the game shows the ruby
    builder.event("Level1ElevatorEvent", ruby)
    builder.landmark("Ruby", ruby)
    builder.landmark("RubyWatch", elevator.at(dz=7.0))  # the bot waits there for it
    builder.platform("Ledge", (-10.0, 21.0, -179.0), 20.0, 24.0)
    finish = (-10.0, 21.0, -186.0)
    builder.finish_gate(finish)
    builder.event("Level1FinishedEvent", (finish[0], finish[1] + 3.0, finish[2]))
    builder.sun()
    builder.leg([jump(start.inside("north", 1.0)), walk(p1.at(), 2.0),
                 jump(p1.inside("north", 1.0, along=3.0)), walk(p2.at(), 2.0),
                 walk(ramp.start), walk(ramp.end),
                 jump(p3.inside("north", 1.0, along=-2.0)),
                 walk(arena.inside("south", 6.0, along=16.0), 2.0)], clear="Arena")
    builder.leg([jump(arena.inside("north", 1.5)), walk(elevator.at(dz=3.0), 1.5)])
    builder.leg([walk(finish, 0.5)])
    return builder


def elevator_mesh(size):
    """A square metal platform whose top face is centred on the node origin."""
    return world_slab(size, size, 2.0, (0.0, 0.0, 0.0))


def level2():
    """Level 2 (float jumps): rock pillars rising along -z, idle enemies on
    three of them, the finish gate on the highest.

    Start (4.5) -> T1 (25) -> T2 (45, two enemies) -> T3 (62, two enemies) ->
    T4 (80, two enemies) -> T5 (105, finish). Neighbours are 52-74 units
    apart and 17-25 units higher: one float jump each. Seen from the spawn,
    every pillar in front of the title stands clear of it on screen.
    """
    builder = LevelBuilder(2)
    start_platform(builder)
    bottom = -60.0
    towers = [("T1", (-30.0, 25.0, -60.0), 18.0, []),
              ("T2", (-45.0, 45.0, -110.0), 20.0, [(-4, 4), (4, -4)]),
              ("T3", (-25.0, 62.0, -165.0), 20.0, [(-4, 4), (4, -4)]),
              ("T4", (30.0, 80.0, -215.0), 18.0, [(-3, 3), (3, -3)]),
              ("T5", (-5.0, 105.0, -262.0), 16.0, [])]
    tops = []
    for name, top, size, spawns in towers:
        tops.append(builder.pillar(name, top, size, size, bottom))
        spawn_on(builder, top, spawns)
    finish = (-5.0, 105.0, -264.0)
    builder.finish_gate(finish)
    builder.event("Level2FinishedEvent", (finish[0], finish[1] + 3.0, finish[2]))
    builder.sun()
    builder.leg([float_to(top.at(), 4.0) for top in tops] + [walk(finish, 0.5)])
    return builder


BOSS_ARENA = (-10.0, 80.0, -200.0)
BOSS_ARENA_SIZE = 36.0
EXIT_WALL_X = -28.0
DOOR_GAP_CENTRE_Z = -200.0
DOOR_OPENING = 6.0  # between the fixed wall ends; each door slides 3 into the wall
DOOR_HEIGHT = 10.0
WALL_HEIGHT = 12.0
# Seen from the start, the arena's underside stands just above the title: a
# shallow one keeps the sky behind the letters.
BOSS_ARENA_UNDERSIDE_DROP = 4.0


def level3():
    """Level 3: a climb by ramps and jumps to the boss arena (floor y 80).

    Start (4.5) -> ramp R1 up to B1 (17, low enough that from the spawn it
    stays below the title) -> jump to E1 (20.5, two enemies)
    -> jump to B2 (22.5) -> ramp R2 back towards +z to B3 (38.5) -> jump to E2
    (40.5, two enemies) -> jump to B4 (42.5) -> ramp R3 to B5 (58.5) -> jump to
    E3 (60.5, two enemies) -> jump to B6 (62.5) -> long ramp R4 east to B7
    (80.5) -> ramp R5 south to the lookout (96.5) -> the plank bridge over the
    arena's east edge -> drop 16.5 into the arena. Everything above y 65 other
    than the arena keeps 40 units or more away from it (the bridge passes
    16 units above its floor), so a boss knocked off falls below 65 freely.
    The west side is a wall with the two doors; beyond them a bridge leads to
    the finish platform.
    """
    builder = LevelBuilder(3)
    start_platform(builder)
    r1 = builder.ramp((0.0, 4.5, -22.0), (0.0, 17.0, -50.0), 8.0)
    b1 = builder.platform("B1", (0.0, 17.0, -56.0), 12.0, 12.0)
    # The open sides of the enemies' platforms: those with no neighbour to catch a
    # struck enemy.
    e1 = builder.platform("E1", (0.0, 20.5, -79.0), 20.0, 20.0, open_sides=("east", "north"))
    spawn_on(builder, e1.top_centre, [(-4, 4), (4, -4)])
    b2 = builder.platform("B2", (-23.0, 22.5, -79.0), 12.0, 12.0)
    r2 = builder.ramp((-23.0, 22.5, -73.0), (-23.0, 38.5, -41.0), 8.0)
    b3 = builder.platform("B3", (-23.0, 38.5, -35.0), 12.0, 12.0)
    e2 = builder.platform("E2", (-45.0, 40.5, -35.0), 18.0, 18.0, open_sides=("west", "south"))
    spawn_on(builder, e2.top_centre, [(4, 4), (-4, -4)])
    b4 = builder.platform("B4", (-45.0, 42.5, -57.0), 12.0, 12.0)
    r3 = builder.ramp((-45.0, 42.5, -63.0), (-45.0, 58.5, -95.0), 8.0)
    b5 = builder.platform("B5", (-45.0, 58.5, -101.0), 12.0, 12.0)
    e3 = builder.platform("E3", (-45.0, 60.5, -124.0), 18.0, 18.0, open_sides=("west", "north"))
    spawn_on(builder, e3.top_centre, [(4, 4), (-4, -4)])
    b6 = builder.platform("B6", (-22.0, 62.5, -124.0), 12.0, 12.0)
    r4 = builder.ramp((-16.0, 62.5, -124.0), (48.0, 80.5, -124.0), 8.0)
    b7 = builder.platform("B7", (54.0, 80.5, -124.0), 12.0, 12.0)
    r5 = builder.ramp((54.0, 80.5, -130.0), (54.0, 96.5, -185.0), 8.0)
    lookout = builder.platform("Lookout", (54.0, 96.5, -191.0), 12.0, 12.0)
    planks = builder.walkway("Planks", (25.0, 96.5, -191.0), 46.0, 6.0, 1.0)
    arena, doorway, finish = boss_arena(builder)
    builder.sun()
    builder.leg([walk(r1.start), walk(r1.end), jump(b1.inside("north", 1.0)),
                 walk(e1.at(dz=3.0), 2.0)], clear="E1")
    builder.leg([jump(e1.inside("west", 1.0)), walk(b2.at(), 2.0), walk(r2.start), walk(r2.end),
                 walk(b3.at(), 2.0), jump(b3.inside("west", 1.0)), walk(e2.at(dx=3.0), 2.0)],
                clear="E2")
    builder.leg([jump(e2.inside("north", 1.0)), walk(b4.at(), 2.0), walk(r3.start), walk(r3.end),
                 jump(b5.inside("north", 1.0)), walk(e3.at(dz=4.0), 2.0)], clear="E3")
    # Off the planks' end, down into the arena beneath.
    below_the_planks = planks.inside("west", -4.0)
    builder.leg([jump(e3.inside("east", 1.0)), walk(b6.at(), 2.0), walk(r4.start), walk(r4.end),
                 walk(b7.at(dz=-2.0), 2.0), walk(r5.start), walk(r5.end), walk(lookout.at(), 2.0),
                 walk((below_the_planks[0], arena.top, below_the_planks[2]), 2.0)])
    # Once the boss is off the arena: through the doors to the finish.
    builder.leg([walk(arena.at(dx=-10.0)), walk(doorway.inside("east", 6.0)), walk(finish, 0.5)])
    return builder


def boss_arena(builder):
    """The arena, its west wall with the doorway and doors, and the way to the finish.
    Returns the arena's ground, the bridge beyond the doorway and the finish."""
    x, y, z = BOSS_ARENA
    # Its west side is the wall with the doors.
    arena = builder.platform("Arena", BOSS_ARENA, BOSS_ARENA_SIZE, BOSS_ARENA_SIZE, top=SAND,
                             underside_drop=BOSS_ARENA_UNDERSIDE_DROP,
                             open_sides=("east", "north", "south"))
    builder.marker("BigEnemy", (x - 4.0, y + 4.0, z))
    half_opening = DOOR_OPENING * 0.5
    wall_reach = BOSS_ARENA_SIZE * 0.5 + 6.0  # past the arena's corners, over the void
    for sign in (1.0, -1.0):
        near, far = z + sign * half_opening, z + sign * wall_reach
        builder.solid(world_box((2.0, WALL_HEIGHT, abs(far - near)),
                                (EXIT_WALL_X, y + WALL_HEIGHT * 0.5, (near + far) * 0.5)), ROCK)
    lintel = WALL_HEIGHT - DOOR_HEIGHT
    builder.solid(world_box((2.0, lintel, DOOR_OPENING),
                            (EXIT_WALL_X, y + DOOR_HEIGHT + lintel * 0.5, z)), ROCK)
    door_width = half_opening + 0.5  # overlaps the wall by 0.5 when closed
    for name, sign in (("Door1", 1.0), ("Door2", -1.0)):
        centre = (EXIT_WALL_X, y + DOOR_HEIGHT * 0.5, z + sign * door_width * 0.5)
        builder.moving_part(name, centre, world_box((1.2, DOOR_HEIGHT, door_width),
                                                    (0.0, 0.0, 0.0)), METAL)
    bridge_end = EXIT_WALL_X - 21.0
    bridge = builder.walkway("Bridge", ((bridge_end + EXIT_WALL_X) * 0.5, y, z),
                             abs(bridge_end - EXIT_WALL_X), 10.0, 2.0)
    finish_platform = (bridge_end - 8.0, y, z)
    builder.platform("Finish", finish_platform, 16.0, 16.0)
    finish = (finish_platform[0] - 3.0, y, z)
    builder.finish_gate(finish)
    builder.event("Level3FinishedEvent", (finish[0], y + 3.0, z))
    return arena, bridge, finish


def level4():
    """The closing scene: a meadow under the spawn facing a sign."""
    builder = LevelBuilder(4)
    builder.platform("Meadow", (0.0, SPAWN_GROUND, -38.0), 60.0, 80.0)
    closing_sign(builder, -62.0)
    for x, z in ((-20.0, -30.0), (22.0, -24.0), (-8.0, -45.0), (12.0, -48.0)):
        gem = shapes.gem(1.8, 0.9, 2.1).transformed(Z_UP_TO_WORLD)
        builder.decorate(gem.translated(x, SPAWN_GROUND + 3.0, z), RUBY_DECOR)
    builder.sun()
    return builder


def closing_sign(builder, board_z):
    """A wooden board on two posts, its letters standing out of its face. The
    posts stand clear of the widest line, and no letter face lies in a plane of
    the frame where they meet, or the two would flicker through each other."""
    frame = shapes.Mesh()
    for post_x in (-28.0, 28.0):
        frame.extend(world_box((2.0, 26.0, 2.0), (post_x, SPAWN_GROUND + 13.0, board_z)))
    frame.extend(world_box((60.0, 22.0, 1.0), (0.0, SPAWN_GROUND + 18.0, board_z)))
    lines = [(block_sign("THE END", 9.0, 1.0, (0.0, SPAWN_GROUND + 23.0, board_z + 1.0)), SIGN),
             (block_sign("THANKS FOR PLAYING", 3.2, 0.6,
                         (0.0, SPAWN_GROUND + 12.5, board_z + 0.8)), TITLE)]
    for letters, material in lines:
        if shapes.coplanar_overlaps(letters, frame):
            raise ValueError("the sign's %s letters lie in a face of its frame" % material.name)
        builder.decorate(letters, material)
    builder.solid(frame, WOOD)


LEVELS = {1: level1, 2: level2, 3: level3, 4: level4}


# Titles ----------------------------------------------------------------------

TITLE_CENTRE = (0.0, 45.0, -140.0)
TITLE_LETTER_HEIGHT = 12.0
TITLE_DEPTH = 2.0
# The game places a title at root x translate(-200, 80, 30) x scale(40) x
# rotate(90 about z); this is the inverse, from world to the title file.
TITLE_WORLD_TO_FILE = transforms.multiply(
    transforms.rotation("z", -90.0), transforms.scaling(1.0 / 40.0),
    transforms.translation(200.0, -80.0, -30.0), transforms.transposed(Z_UP_TO_WORLD))


def title(number):
    """ "LEVEL n" standing ahead of the spawn, reading left to right, facing it."""
    letters = block_sign("LEVEL %d" % number, TITLE_LETTER_HEIGHT, TITLE_DEPTH, TITLE_CENTRE)
    document = collada.Document(scene_name="Level%dTitle" % number)
    document.add(collada.Node("Title", meshes=[(letters.transformed(TITLE_WORLD_TO_FILE),
                                                 TITLE)]))
    return document
