#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <string>
#include <utility>
#include <vector>

/// Small COLLADA documents written by the tests, Y up, in metres. Each helper
/// returns a whole library element; a document may hold several of each kind.
namespace Vexa::test::collada {

struct Geometry {
  std::string id;
  std::vector<glm::vec3> positions;
  std::vector<unsigned> triangles;  // three position indices per triangle
  std::vector<glm::vec3> normals;   // empty, or one per position
  std::vector<glm::vec2> uvs;       // empty, or one per position
  std::vector<unsigned> lines;  // two position indices per line, drawn with the triangles' material
};

/// Joint names, their inverse bind matrices and, per vertex, (joint, weight) pairs.
struct Skin {
  std::string id;
  std::string geometryId;
  std::vector<std::string> joints;
  std::vector<glm::mat4> inverseBinds;
  std::vector<std::vector<std::pair<int, float>>> influences;
};

/// Keys of one node's "transform" matrix; times in seconds.
struct Channel {
  std::string node;
  std::vector<float> times;
  std::vector<glm::mat4> poses;
};

std::string geometry(const Geometry& geometry);
std::string colourMaterial(const std::string& id, const glm::vec3& colour);
std::string textureMaterial(const std::string& id, const std::string& imageFile);
std::string controller(const Skin& skin);
std::string animation(const Channel& channel);

/// A node; `content` holds its instances and child nodes.
std::string node(const std::string& name, const std::string& content = "",
                 const glm::mat4& matrix = glm::mat4(1.0f), bool joint = false);
std::string meshInstance(const std::string& geometryId, const std::string& materialId);
std::string skinInstance(const std::string& controllerId, const std::string& materialId,
                         const std::string& skeletonRoot);

std::string document(const std::string& libraries, const std::string& sceneNodes);

/// A whole document: the square below in one colour, on the node "Body", plus `extra` libraries.
std::string colouredSquare(const glm::vec3& colour, const std::string& extra = "");

/// A square of two triangles in the plane z = 0 from (-1, -1) to (1, 1), facing +z.
Geometry square(const std::string& id);

}  // namespace Vexa::test::collada
