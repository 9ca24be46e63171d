#pragma once

#include <array>
#include <cstdint>

namespace Vexa {

/// The skinning influences of one vertex as uploaded: four joints (node numbers),
/// then four weights; 32 bytes. An empty slot holds joint 0 and weight 0.
struct BoneRecord {
  std::array<std::int32_t, 4> joints{};
  std::array<float, 4> weights{};

  /// Takes the first slot whose weight is exactly 0; with all four taken the
  /// influence is dropped. Returns whether it was stored.
  bool add(std::int32_t joint, float weight);
};

static_assert(sizeof(BoneRecord) == 32, "the vertex layout reads 32-byte bone records");

}  // namespace Vexa
