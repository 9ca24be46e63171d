#include "render/ModelData.h"

#include <algorithm>
#include <cstring>
#include <glm/gtc/type_ptr.hpp>
#include <type_traits>

namespace Vexa {

namespace {

/// Appends numbers, GLM values, counted arrays and strings to a byte string.
class ByteWriter {
 public:
  template <class Value>
  std::enable_if_t<std::is_arithmetic_v<Value>> put(Value value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  template <class Glm, class = decltype(glm::value_ptr(std::declval<const Glm&>()))>
  void put(const Glm& value) {
    bytes.append(reinterpret_cast<const char*>(glm::value_ptr(value)), sizeof value);
  }
  void put(const BoneRecord& record) {
    for (std::size_t slot = 0; slot < record.joints.size(); ++slot) {
      put(record.joints[slot]);
      put(record.weights[slot]);
    }
  }
  void put(const KeyData& key) {
    put(key.time);
    put(key.position);
    put(key.rotation);
    put(key.scale);
  }
  template <class Element>
  void put(const std::vector<Element>& elements) {
    put(static_cast<std::uint64_t>(elements.size()));
    for (const Element& element : elements) put(element);
  }
  void put(const std::string& text) {
    put(static_cast<std::uint64_t>(text.size()));
    bytes.append(text);
  }

  std::string bytes;
};

/// Reads back what ByteWriter wrote; once a read runs past the end every later one
/// fails too, so a caller checks `ok()` once at the end.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes(bytes) {}

  template <class Value>
  std::enable_if_t<std::is_arithmetic_v<Value>> get(Value& value) {
    if (take(sizeof value)) std::memcpy(&value, bytes.data() + at - sizeof value, sizeof value);
  }
  void get(bool& value) {
    std::uint8_t byte = 0;
    get(byte);
    value = byte != 0;
  }
  template <class Glm, class = decltype(glm::value_ptr(std::declval<Glm&>()))>
  void get(Glm& value) {
    if (take(sizeof value))
      std::memcpy(glm::value_ptr(value), bytes.data() + at - sizeof value, sizeof value);
  }
  void get(BoneRecord& record) {
    for (std::size_t slot = 0; slot < record.joints.size(); ++slot) {
      get(record.joints[slot]);
      get(record.weights[slot]);
    }
  }
  void get(KeyData& key) {
    get(key.time);
    get(key.position);
    get(key.rotation);
    get(key.scale);
  }
  template <class Element>
  void get(std::vector<Element>& elements) {
    elements.resize(length(sizeof(float)));
    for (Element& element : elements) get(element);
  }
  void get(std::string& text) {
    const std::uint64_t count = length(1);
    if (take(count)) text.assign(bytes.data() + at - count, count);
  }
  /// A count of elements of at least `elementBytes` each that the bytes left can
  /// hold; 0 otherwise.
  std::uint64_t length(std::size_t elementBytes) {
    std::uint64_t count = 0;
    get(count);
    if (!failed && count <= (bytes.size() - at) / elementBytes) return count;
    failed = true;
    return 0;
  }

  bool ok() const { return !failed; }
  bool atEnd() const { return at == bytes.size(); }

 private:
  bool take(std::size_t count) {
    if (failed || count > bytes.size() - at) {
      failed = true;
      return false;
    }
    at += count;
    return true;
  }

  std::string_view bytes;
  std::size_t at = 0;
  bool failed = false;
};

template <class Element>
bool sizedLike(const std::vector<Element>& elements, std::size_t count) {
  return elements.empty() || elements.size() == count;
}

bool consistentMesh(const MeshData& mesh, std::size_t nodeCount) {
  const std::size_t vertices = mesh.positions.size();
  if (!sizedLike(mesh.normals, vertices) || !sizedLike(mesh.uvs, vertices) ||
      !sizedLike(mesh.bones, vertices) || mesh.indices.size() % 3 != 0) {
    return false;
  }
  const auto withinVertices = [vertices](std::uint32_t index) { return index < vertices; };
  const auto jointsOnNodes = [nodeCount](const BoneRecord& record) {
    return std::all_of(record.joints.begin(), record.joints.end(), [nodeCount](std::int32_t joint) {
      return joint >= 0 && static_cast<std::size_t>(joint) < nodeCount;
    });
  };
  return std::all_of(mesh.indices.begin(), mesh.indices.end(), withinVertices) &&
         std::all_of(mesh.bones.begin(), mesh.bones.end(), jointsOnNodes);
}

}  // namespace

std::int32_t ModelData::findNode(const std::string& name) const {
  for (std::size_t n = 0; n < nodes.size(); ++n)
    if (nodes[n].name == name) return static_cast<std::int32_t>(n);
  return -1;
}

bool ModelData::skinned() const {
  return std::any_of(nodes.begin(), nodes.end(), [](const NodeData& node) {
    return std::any_of(node.meshes.begin(), node.meshes.end(),
                       [](const MeshData& mesh) { return !mesh.bones.empty(); });
  });
}

bool ModelData::consistent() const {
  if (nodes.empty() || nodes[0].parent != -1) return false;
  for (std::size_t n = 1; n < nodes.size(); ++n)
    if (nodes[n].parent < 0 || static_cast<std::size_t>(nodes[n].parent) >= n) return false;
  for (const NodeData& node : nodes)
    for (const MeshData& mesh : node.meshes)
      if (!consistentMesh(mesh, nodes.size())) return false;
  if (!clip) return true;
  return std::all_of(clip->tracks.begin(), clip->tracks.end(), [this](const TrackData& track) {
    return track.node >= 0 && static_cast<std::size_t>(track.node) < nodes.size();
  });
}

std::string ModelData::serialize() const {
  ByteWriter out;
  out.put(static_cast<std::uint64_t>(nodes.size()));
  for (const NodeData& node : nodes) {
    out.put(node.name);
    out.put(node.localMatrix);
    out.put(node.parent);
    out.put(node.offsetMatrix);
    out.put(static_cast<std::uint8_t>(node.namedByBone));
    out.put(static_cast<std::uint64_t>(node.meshes.size()));
    for (const MeshData& mesh : node.meshes) {
      out.put(mesh.positions);
      out.put(mesh.normals);
      out.put(mesh.uvs);
      out.put(mesh.bones);
      out.put(mesh.indices);
      out.put(mesh.materialIndex);
    }
  }
  out.put(static_cast<std::uint64_t>(materials.size()));
  for (const MaterialData& material : materials) {
    out.put(static_cast<std::uint8_t>(material.colour.has_value()));
    out.put(material.colour.value_or(glm::vec3(0.0f)));
    out.put(static_cast<std::uint8_t>(material.texture.has_value()));
    out.put(material.texture.value_or(std::string()));
  }
  out.put(static_cast<std::uint8_t>(clip != nullptr));
  if (clip) {
    out.put(clip->ticksPerSecond);
    out.put(clip->duration);
    out.put(static_cast<std::uint64_t>(clip->tracks.size()));
    for (const TrackData& track : clip->tracks) {
      out.put(track.node);
      out.put(track.keys);
    }
  }
  return std::move(out.bytes);
}

std::optional<ModelData> ModelData::deserialize(std::string_view bytes) {
  ByteReader in(bytes);
  ModelData model;
  model.nodes.resize(in.length(1));
  for (NodeData& node : model.nodes) {
    in.get(node.name);
    in.get(node.localMatrix);
    in.get(node.parent);
    in.get(node.offsetMatrix);
    in.get(node.namedByBone);
    node.meshes.resize(in.length(1));
    for (MeshData& mesh : node.meshes) {
      in.get(mesh.positions);
      in.get(mesh.normals);
      in.get(mesh.uvs);
      in.get(mesh.bones);
      in.get(mesh.indices);
      in.get(mesh.materialIndex);
    }
  }
  model.materials.resize(in.length(1));
  for (MaterialData& material : model.materials) {
    bool hasColour = false;
    bool hasTexture = false;
    glm::vec3 colour(0.0f);
    std::string texture;
    in.get(hasColour);
    in.get(colour);
    in.get(hasTexture);
    in.get(texture);
    if (hasColour) material.colour = colour;
    if (hasTexture) material.texture = texture;
  }
  bool hasClip = false;
  in.get(hasClip);
  if (hasClip) {
    ClipData clip;
    in.get(clip.ticksPerSecond);
    in.get(clip.duration);
    clip.tracks.resize(in.length(1));
    for (TrackData& track : clip.tracks) {
      in.get(track.node);
      in.get(track.keys);
    }
    model.clip = std::make_shared<const ClipData>(std::move(clip));
  }
  if (!in.ok() || !in.atEnd() || !model.consistent()) return std::nullopt;
  return model;
}

}  // namespace Vexa
