// libFuzzer target for the model loading path: bytes become a COLLADA file, the
// game's loader imports it through Assimp and reads the scene into model data,
// and that data is checked against what the game's meshes, skinning and clips
// rely on. A model the loader refuses is an ordinary outcome; a crash, a
// sanitizer report or data that would make the game read out of bounds is not.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/Fatal.h"
#include "render/ModelLoader.h"

namespace Vexa {

namespace {

/// The loader's refusal, carried back to the fuzz target.
struct Refused {
  std::string message;
};

std::string modelPath;

[[noreturn]] void broken(const std::string& what) {
  std::fprintf(stderr, "model data the game cannot use: %s\n", what.c_str());
  std::abort();
}

void checkMesh(const MeshData& mesh, std::size_t nodeCount) {
  const std::size_t vertices = mesh.positions.size();
  if (mesh.indices.size() % 3 != 0) broken("indices that are no whole triangles");
  for (const std::uint32_t index : mesh.indices)
    if (index >= vertices) broken("index " + std::to_string(index) + " past the vertices");
  if (!mesh.normals.empty() && mesh.normals.size() != vertices) broken("normals not per vertex");
  if (!mesh.uvs.empty() && mesh.uvs.size() != vertices) broken("uvs not per vertex");
  if (!mesh.bones.empty() && mesh.bones.size() != vertices) broken("bones not per vertex");
  for (const BoneRecord& record : mesh.bones) {
    for (const std::int32_t joint : record.joints) {
      if (joint < 0 || joint >= skinningSlots || static_cast<std::size_t>(joint) >= nodeCount)
        broken("joint " + std::to_string(joint) + " names no skinning slot");
    }
  }
}

void checkModel(const ModelData& model) {
  for (std::size_t n = 0; n < model.nodes.size(); ++n) {
    const NodeData& node = model.nodes[n];
    if (node.parent >= static_cast<std::int32_t>(n) || (node.parent < 0) != (n == 0))
      broken("node " + std::to_string(n) + " comes before its parent");
    for (const MeshData& mesh : node.meshes) checkMesh(mesh, model.nodes.size());
  }
  if (!model.clip) return;
  for (const TrackData& track : model.clip->tracks) {
    if (track.node < 0 || static_cast<std::size_t>(track.node) >= model.nodes.size())
      broken("a track for node " + std::to_string(track.node));
    for (std::size_t k = 1; k < track.keys.size(); ++k)
      if (!(track.keys[k].time > track.keys[k - 1].time)) broken("key times that do not increase");
  }
}

}  // namespace

// The game's fatal end would exit the fuzzer: here the refusal unwinds instead.
void fatalError(const std::string& message) {
  throw Refused{message};
}

}  // namespace Vexa

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/vexa_model_fuzzer.XXXXXX";
  if (!mkdtemp(folder)) return 1;
  // Assimp picks the COLLADA importer by the extension.
  Vexa::modelPath = std::string(folder) + "/model.dae";
  std::atexit([] {
    std::remove(Vexa::modelPath.c_str());
    rmdir(Vexa::modelPath.substr(0, Vexa::modelPath.rfind('/')).c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream file(Vexa::modelPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  // The import in this process, without the game's guard: a crash is the finding.
  try {
    const auto reading = Vexa::ModelLoader::import(Vexa::modelPath);
    if (reading.data) Vexa::checkModel(*reading.data);
  } catch (const Vexa::Refused&) {
  }
  return 0;
}
