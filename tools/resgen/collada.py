"""COLLADA 1.4.1 writer: materials, triangle geometry and a node tree.

A file is a ``Document`` holding top-level ``Node``s. Each node has a name, a
4x4 row-major matrix (``transforms``), any number of (``shapes.Mesh``,
``Material``) pairs and children. ``Document.to_bytes()`` gives the file; the
output depends only on the content, byte for byte (attribute order is fixed,
numbers are printed with a fixed precision, the asset dates are constants).

Assimp names each imported node after the node's COLLADA id, so a node's id is
its exact name: names must be unique within a file and valid XML ids.

Extending the writer (skinned models, animations) works through the public
builders: ``Document.library(tag)`` returns a library element (created on
first use, libraries keep the schema's order), ``unique_id``,
``material_id``, ``geometry_id`` (a geometry without an instance, e.g. for a
skin controller's source), ``add_source`` and ``bind_material``; a node's
``instances`` takes extra callables ``build(document, node_element)`` run
after its geometry instances, and ``Document.builders`` takes callables
``build(document)`` run after the visual scene is complete.
"""

import re
import xml.etree.ElementTree as ET

from . import transforms

NAMESPACE = "http://www.collada.org/2005/11/COLLADASchema"
ASSET_DATE = "2026-01-01T00:00:00"
LIBRARY_ORDER = (
    "library_animations",
    "library_controllers",
    "library_images",
    "library_effects",
    "library_materials",
    "library_geometries",
    "library_visual_scenes",
)
UV_SET = "UVMap"
_ID_PATTERN = re.compile(r"^[A-Za-z_][A-Za-z0-9_.\-]*$")


class Material:
    """A diffuse colour (r, g, b in 0..1) or a diffuse texture (a file name
    under Resources/Textures/), never both."""

    def __init__(self, name, colour=None, texture=None):
        if (colour is None) == (texture is None):
            raise ValueError("material %s needs exactly one of colour and texture" % name)
        self.name = name
        self.colour = None if colour is None else tuple(float(c) for c in colour)
        self.texture = texture


class Node:
    """A named node: matrix (row-major, identity by default), meshes as
    (Mesh, Material) pairs, children. node_type is "NODE" or "JOINT"; sid is
    optional (joints need one for skins)."""

    def __init__(self, name, matrix=transforms.IDENTITY, meshes=(), children=(),
                 node_type="NODE", sid=None):
        self.name = name
        self.matrix = matrix
        self.meshes = list(meshes)
        self.children = list(children)
        self.node_type = node_type
        self.sid = sid
        self.instances = []

    def add(self, child):
        """Appends a child node and returns it."""
        self.children.append(child)
        return child

    def add_mesh(self, mesh, material):
        self.meshes.append((mesh, material))
        return self

    def walk(self):
        """This node and its descendants, depth first, in pre-order."""
        yield self
        for child in self.children:
            yield from child.walk()


class Document:
    """One COLLADA file. up_axis is "Z_UP" (the game's models) or "Y_UP"."""

    def __init__(self, up_axis="Z_UP", scene_name="Scene"):
        self.up_axis = up_axis
        self.scene_name = scene_name
        self.nodes = []
        self.builders = []

    def add(self, node):
        """Appends a top-level node (a child of the imported scene root) and returns it."""
        self.nodes.append(node)
        return node

    def find(self, name):
        """The first node of that name, depth first, or None."""
        for top in self.nodes:
            for node in top.walk():
                if node.name == name:
                    return node
        return None

    def write(self, path):
        with open(path, "wb") as output:
            output.write(self.to_bytes())

    def to_bytes(self):
        self._root = ET.Element("COLLADA", {"xmlns": NAMESPACE, "version": "1.4.1"})
        self._libraries = {}
        self._ids = set()
        self._materials = {}
        self._images = {}
        self._write_asset()
        self._check_node_names()
        scene = ET.SubElement(self.library("library_visual_scenes"), "visual_scene",
                              {"id": self.unique_id(self.scene_name), "name": self.scene_name})
        for node in self.nodes:
            self._write_node(scene, node)
        for build in self.builders:
            build(self)
        self._order_libraries()
        ET.SubElement(ET.SubElement(self._root, "scene"), "instance_visual_scene",
                      {"url": "#" + scene.get("id")})
        ET.indent(self._root, space=" ")
        return ET.tostring(self._root, encoding="utf-8", xml_declaration=True) + b"\n"

    # Builders for extensions -------------------------------------------------

    def library(self, tag):
        """The library element of that tag, created on first use."""
        if tag not in LIBRARY_ORDER:
            raise ValueError("unknown library " + tag)
        if tag not in self._libraries:
            self._libraries[tag] = ET.SubElement(self._root, tag)
        return self._libraries[tag]

    def unique_id(self, base):
        """A document-unique id derived from base (base itself when free)."""
        candidate, counter = _sanitise(base), 1
        while candidate in self._ids:
            counter += 1
            candidate = "%s.%03d" % (_sanitise(base), counter)
        self._ids.add(candidate)
        return candidate

    def material_id(self, material):
        """Id of the material's <material>, writing material, effect and image once."""
        if material.name in self._materials:
            known, element_id = self._materials[material.name]
            if vars(known) != vars(material):
                raise ValueError("two different materials named " + material.name)
            return element_id
        effect_id = self.unique_id(material.name + "-effect")
        self._write_effect(effect_id, material)
        material_id = self.unique_id(material.name + "-material")
        element = ET.SubElement(self.library("library_materials"), "material",
                                {"id": material_id, "name": material.name})
        ET.SubElement(element, "instance_effect", {"url": "#" + effect_id})
        self._materials[material.name] = (material, material_id)
        return material_id

    def geometry_id(self, mesh, name, material_symbol):
        """Writes the mesh as a <geometry> whose triangles use material_symbol; returns its id.
        A mesh without uvs gets no texture coordinates."""
        if not mesh.triangles:
            raise ValueError("geometry %s has no triangles" % name)
        geometry_id = self.unique_id(name + "-mesh")
        geometry = ET.SubElement(self.library("library_geometries"), "geometry",
                                 {"id": geometry_id, "name": name})
        element = ET.SubElement(geometry, "mesh")
        positions = self.add_source(element, geometry_id + "-positions", mesh.positions, "XYZ")
        normals = self.add_source(element, geometry_id + "-normals", mesh.normals, "XYZ")
        inputs = [("NORMAL", normals)]
        if mesh.uvs:
            inputs.append(("TEXCOORD", self.add_source(element, geometry_id + "-map", mesh.uvs,
                                                       "ST")))
        vertices_id = self.unique_id(geometry_id + "-vertices")
        vertices = ET.SubElement(element, "vertices", {"id": vertices_id})
        ET.SubElement(vertices, "input", {"semantic": "POSITION", "source": "#" + positions})
        triangles = ET.SubElement(element, "triangles",
                                  {"material": material_symbol, "count": str(len(mesh.triangles))})
        for semantic, source in [("VERTEX", vertices_id)] + inputs:
            attributes = {"semantic": semantic, "source": "#" + source, "offset": "0"}
            if semantic == "TEXCOORD":
                attributes["set"] = "0"
            ET.SubElement(triangles, "input", attributes)
        ET.SubElement(triangles, "p").text = " ".join(str(i) for t in mesh.triangles for i in t)
        return geometry_id

    def add_source(self, parent, base_id, rows, param_names, param_type="float"):
        """A <source> of tuples (one per row, one value per letter or name of
        param_names) under parent; returns the source's id. param_type "float"
        writes a float_array, "name" a Name_array, "float4x4" one 16-float matrix per row."""
        source_id = self.unique_id(base_id)
        source = ET.SubElement(parent, "source", {"id": source_id})
        names = list(param_names)
        stride = 16 if param_type == "float4x4" else len(names)
        values = [v for row in rows for v in row]
        array_tag = "Name_array" if param_type == "name" else "float_array"
        array_id = source_id + "-array"
        array = ET.SubElement(source, array_tag, {"id": array_id, "count": str(len(values))})
        array.text = " ".join(str(v) if param_type == "name" else format_float(v) for v in values)
        technique = ET.SubElement(source, "technique_common")
        accessor = ET.SubElement(technique, "accessor", {
            "source": "#" + array_id, "count": str(len(rows)), "stride": str(stride)})
        for name in names:
            ET.SubElement(accessor, "param", {"name": name, "type": param_type})
        return source_id

    def bind_material(self, instance_element, symbols):
        """Adds <bind_material> to an instance element: symbols maps each material
        symbol to its Material."""
        technique = ET.SubElement(ET.SubElement(instance_element, "bind_material"),
                                  "technique_common")
        for symbol, material in symbols.items():
            bound = ET.SubElement(technique, "instance_material",
                                  {"symbol": symbol, "target": "#" + self.material_id(material)})
            ET.SubElement(bound, "bind_vertex_input", {
                "semantic": UV_SET, "input_semantic": "TEXCOORD", "input_set": "0"})

    def matrix_element(self, parent, matrix):
        element = ET.SubElement(parent, "matrix", {"sid": "transform"})
        element.text = " ".join(format_float(v) for row in matrix for v in row)
        return element

    # Internals ---------------------------------------------------------------

    def _write_asset(self):
        asset = ET.SubElement(self._root, "asset")
        contributor = ET.SubElement(asset, "contributor")
        ET.SubElement(contributor, "authoring_tool").text = "Vexa's Voyage resource generator"
        ET.SubElement(asset, "created").text = ASSET_DATE
        ET.SubElement(asset, "modified").text = ASSET_DATE
        ET.SubElement(asset, "unit", {"name": "meter", "meter": "1"})
        ET.SubElement(asset, "up_axis").text = self.up_axis

    def _check_node_names(self):
        seen = set()
        for top in self.nodes:
            for node in top.walk():
                if not _ID_PATTERN.match(node.name) or node.name in seen:
                    raise ValueError("node name %r is not a unique valid id" % node.name)
                seen.add(node.name)
        # Node ids are claimed first so that no other element takes a node's name.
        self._ids.update(seen)

    def _write_node(self, parent, node):
        attributes = {"id": node.name, "name": node.name}
        if node.sid is not None:
            attributes["sid"] = node.sid
        attributes["type"] = node.node_type
        element = ET.SubElement(parent, "node", attributes)
        self.matrix_element(element, node.matrix)
        for index, (mesh, material) in enumerate(node.meshes):
            name = node.name if index == 0 else "%s_%d" % (node.name, index)
            geometry_id = self.geometry_id(mesh, name, "material")
            instance = ET.SubElement(element, "instance_geometry",
                                     {"url": "#" + geometry_id, "name": name})
            self.bind_material(instance, {"material": material})
        for build in node.instances:
            build(self, element)
        for child in node.children:
            self._write_node(element, child)

    def _write_effect(self, effect_id, material):
        effect = ET.SubElement(self.library("library_effects"), "effect", {"id": effect_id})
        profile = ET.SubElement(effect, "profile_COMMON")
        if material.texture is not None:
            image_id = self._image_id(material.texture)
            surface_sid, sampler_sid = image_id + "-surface", image_id + "-sampler"
            surface = ET.SubElement(ET.SubElement(profile, "newparam", {"sid": surface_sid}),
                                    "surface", {"type": "2D"})
            ET.SubElement(surface, "init_from").text = image_id
            sampler = ET.SubElement(ET.SubElement(profile, "newparam", {"sid": sampler_sid}),
                                    "sampler2D")
            ET.SubElement(sampler, "source").text = surface_sid
        lambert = ET.SubElement(ET.SubElement(profile, "technique", {"sid": "common"}), "lambert")
        diffuse = ET.SubElement(lambert, "diffuse")
        if material.texture is not None:
            ET.SubElement(diffuse, "texture", {"texture": sampler_sid, "texcoord": UV_SET})
        else:
            colour = ET.SubElement(diffuse, "color", {"sid": "diffuse"})
            colour.text = " ".join(format_float(c) for c in material.colour + (1.0,))

    def _image_id(self, file_name):
        if file_name not in self._images:
            image_id = self.unique_id(file_name.replace(".", "_") + "-image")
            image = ET.SubElement(self.library("library_images"), "image",
                                  {"id": image_id, "name": image_id})
            ET.SubElement(image, "init_from").text = file_name
            self._images[file_name] = image_id
        return self._images[file_name]

    def _order_libraries(self):
        for tag in LIBRARY_ORDER:
            if tag in self._libraries:
                self._root.remove(self._libraries[tag])
                self._root.append(self._libraries[tag])


def format_float(value):
    """Seven significant digits, no negative zero."""
    text = "%.7g" % value
    return "0" if float(text) == 0.0 else text


def _sanitise(text):
    cleaned = re.sub(r"[^A-Za-z0-9_.\-]", "_", text)
    return cleaned if re.match(r"^[A-Za-z_]", cleaned) else "_" + cleaned
