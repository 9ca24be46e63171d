#include "model/Collada.h"

#include <sstream>

namespace Vexa::test::collada {

namespace {

std::string join(const std::vector<float>& values) {
  std::ostringstream text;
  for (float v : values) text << v << ' ';
  return text.str();
}

std::vector<float> rowMajor(const std::vector<glm::mat4>& matrices) {
  std::vector<float> values;
  for (const glm::mat4& m : matrices) {
    for (int r = 0; r < 4; ++r) {
      for (int c = 0; c < 4; ++c) values.push_back(m[c][r]);
    }
  }
  return values;
}

std::string floatSource(const std::string& id, const std::vector<float>& values, int stride,
                        const std::string& params) {
  std::ostringstream text;
  text << "<source id=\"" << id << "\"><float_array id=\"" << id << "-array\" count=\""
       << values.size() << "\">" << join(values)
       << "</float_array><technique_common><accessor source=\"#" << id << "-array\" count=\""
       << values.size() / static_cast<std::size_t>(stride) << "\" stride=\"" << stride << "\">"
       << params << "</accessor></technique_common></source>";
  return text.str();
}

std::string xyzParams() {
  return "<param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
         "<param name=\"Z\" type=\"float\"/>";
}

template <class Vector, int Size>
std::vector<float> flatten(const std::vector<Vector>& vectors) {
  std::vector<float> values;
  for (const Vector& v : vectors) {
    for (int i = 0; i < Size; ++i) values.push_back(v[i]);
  }
  return values;
}

std::string indexList(const std::vector<unsigned>& indices, std::size_t inputs) {
  std::ostringstream text;
  for (unsigned index : indices) {
    for (std::size_t i = 0; i < inputs; ++i) text << index << ' ';
  }
  return text.str();
}

std::string primitives(const Geometry& g) {
  std::ostringstream inputs;
  std::size_t count = 1;
  inputs << "<input semantic=\"VERTEX\" source=\"#" << g.id << "-vertices\" offset=\"0\"/>";
  if (!g.normals.empty()) {
    inputs << "<input semantic=\"NORMAL\" source=\"#" << g.id << "-normals\" offset=\"" << count++
           << "\"/>";
  }
  if (!g.uvs.empty()) {
    inputs << "<input semantic=\"TEXCOORD\" source=\"#" << g.id << "-uvs\" offset=\"" << count++
           << "\" set=\"0\"/>";
  }
  std::ostringstream text;
  text << "<triangles material=\"mat\" count=\"" << g.triangles.size() / 3 << "\">" << inputs.str()
       << "<p>" << indexList(g.triangles, count) << "</p></triangles>";
  if (!g.lines.empty()) {
    text << "<lines material=\"mat\" count=\"" << g.lines.size() / 2 << "\">" << inputs.str()
         << "<p>" << indexList(g.lines, count) << "</p></lines>";
  }
  return text.str();
}

std::string materialBinding(const std::string& materialId) {
  return "<bind_material><technique_common><instance_material symbol=\"mat\" target=\"#" +
         materialId + "\"/></technique_common></bind_material>";
}

std::string effectAndMaterial(const std::string& id, const std::string& newParams,
                              const std::string& diffuse) {
  return "<library_effects><effect id=\"" + id + "-effect\"><profile_COMMON>" + newParams +
         "<technique sid=\"common\"><lambert><diffuse>" + diffuse +
         "</diffuse></lambert></technique></profile_COMMON></effect></library_effects>"
         "<library_materials><material id=\"" +
         id + "\" name=\"" + id + "\"><instance_effect url=\"#" + id +
         "-effect\"/></material></library_materials>";
}

}  // namespace

std::string geometry(const Geometry& g) {
  std::ostringstream text;
  text << "<library_geometries><geometry id=\"" << g.id << "\" name=\"" << g.id << "\"><mesh>"
       << floatSource(g.id + "-positions", flatten<glm::vec3, 3>(g.positions), 3, xyzParams());
  if (!g.normals.empty()) {
    text << floatSource(g.id + "-normals", flatten<glm::vec3, 3>(g.normals), 3, xyzParams());
  }
  if (!g.uvs.empty()) {
    text << floatSource(g.id + "-uvs", flatten<glm::vec2, 2>(g.uvs), 2,
                        "<param name=\"S\" type=\"float\"/><param name=\"T\" type=\"float\"/>");
  }
  text << "<vertices id=\"" << g.id << "-vertices\"><input semantic=\"POSITION\" source=\"#" << g.id
       << "-positions\"/></vertices>" << primitives(g) << "</mesh></geometry></library_geometries>";
  return text.str();
}

std::string colourMaterial(const std::string& id, const glm::vec3& colour) {
  std::ostringstream diffuse;
  diffuse << "<color>" << colour.r << ' ' << colour.g << ' ' << colour.b << " 1</color>";
  return effectAndMaterial(id, "", diffuse.str());
}

std::string textureMaterial(const std::string& id, const std::string& imageFile) {
  const std::string image = id + "-image";
  const std::string params =
      "<newparam sid=\"" + id + "-surface\"><surface type=\"2D\"><init_from>" + image +
      "</init_from></surface></newparam><newparam sid=\"" + id + "-sampler\"><sampler2D><source>" +
      id + "-surface</source></sampler2D></newparam>";
  return "<library_images><image id=\"" + image + "\"><init_from>" + imageFile +
         "</init_from></image></library_images>" +
         effectAndMaterial(id, params,
                           "<texture texture=\"" + id + "-sampler\" texcoord=\"UVMap\"/>");
}

std::string controller(const Skin& skin) {
  std::ostringstream names;
  for (const auto& joint : skin.joints) names << joint << ' ';
  std::vector<float> weights;
  std::ostringstream counts;
  std::ostringstream pairs;
  for (const auto& vertex : skin.influences) {
    counts << vertex.size() << ' ';
    for (const auto& [joint, weight] : vertex) {
      pairs << joint << ' ' << weights.size() << ' ';
      weights.push_back(weight);
    }
  }
  const std::string& id = skin.id;
  std::ostringstream text;
  text << "<library_controllers><controller id=\"" << id << "\"><skin source=\"#" << skin.geometryId
       << "\"><bind_shape_matrix>1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1</bind_shape_matrix>"
       << "<source id=\"" << id << "-joints\"><Name_array id=\"" << id << "-joints-array\" count=\""
       << skin.joints.size() << "\">" << names.str()
       << "</Name_array><technique_common><accessor source=\"#" << id << "-joints-array\" count=\""
       << skin.joints.size()
       << "\" stride=\"1\"><param name=\"JOINT\" type=\"name\"/></accessor></technique_common>"
          "</source>"
       << floatSource(id + "-binds", rowMajor(skin.inverseBinds), 16,
                      "<param name=\"TRANSFORM\" type=\"float4x4\"/>")
       << floatSource(id + "-weights", weights, 1, "<param name=\"WEIGHT\" type=\"float\"/>")
       << "<joints><input semantic=\"JOINT\" source=\"#" << id
       << "-joints\"/><input semantic=\"INV_BIND_MATRIX\" source=\"#" << id
       << "-binds\"/></joints><vertex_weights count=\"" << skin.influences.size()
       << "\"><input semantic=\"JOINT\" source=\"#" << id
       << "-joints\" offset=\"0\"/><input semantic=\"WEIGHT\" source=\"#" << id
       << "-weights\" offset=\"1\"/><vcount>" << counts.str() << "</vcount><v>" << pairs.str()
       << "</v></vertex_weights></skin></controller></library_controllers>";
  return text.str();
}

std::string animation(const Channel& channel) {
  const std::string id = channel.node + "-anim";
  return "<library_animations><animation id=\"" + id + "\">" +
         floatSource(id + "-times", channel.times, 1, "<param name=\"TIME\" type=\"float\"/>") +
         floatSource(id + "-poses", rowMajor(channel.poses), 16,
                     "<param name=\"TRANSFORM\" type=\"float4x4\"/>") +
         "<sampler id=\"" + id + "-sampler\"><input semantic=\"INPUT\" source=\"#" + id +
         "-times\"/><input semantic=\"OUTPUT\" source=\"#" + id +
         "-poses\"/></sampler><channel source=\"#" + id + "-sampler\" target=\"" + channel.node +
         "/transform\"/></animation></library_animations>";
}

std::string node(const std::string& name, const std::string& content, const glm::mat4& matrix,
                 bool joint) {
  return "<node id=\"" + name + "\" name=\"" + name + "\" sid=\"" + name + "\" type=\"" +
         (joint ? "JOINT" : "NODE") + "\"><matrix sid=\"transform\">" + join(rowMajor({matrix})) +
         "</matrix>" + content + "</node>";
}

std::string meshInstance(const std::string& geometryId, const std::string& materialId) {
  return "<instance_geometry url=\"#" + geometryId + "\">" + materialBinding(materialId) +
         "</instance_geometry>";
}

std::string skinInstance(const std::string& controllerId, const std::string& materialId,
                         const std::string& skeletonRoot) {
  return "<instance_controller url=\"#" + controllerId + "\"><skeleton>#" + skeletonRoot +
         "</skeleton>" + materialBinding(materialId) + "</instance_controller>";
}

std::string document(const std::string& libraries, const std::string& sceneNodes) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
         "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">"
         "<asset><unit name=\"meter\" meter=\"1\"/><up_axis>Y_UP</up_axis></asset>" +
         libraries + "<library_visual_scenes><visual_scene id=\"Scene\" name=\"Scene\">" +
         sceneNodes +
         "</visual_scene></library_visual_scenes><scene><instance_visual_scene url=\"#Scene\"/>"
         "</scene></COLLADA>";
}

std::string colouredSquare(const glm::vec3& colour, const std::string& extra) {
  return document(geometry(square("Square")) + colourMaterial("Colour", colour) + extra,
                  node("Body", meshInstance("Square", "Colour")));
}

Geometry square(const std::string& id) {
  Geometry g;
  g.id = id;
  g.positions = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
  g.triangles = {0, 1, 2, 0, 2, 3};
  g.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
  g.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  return g;
}

}  // namespace Vexa::test::collada
