#include "render/BoneRecord.h"

namespace Vexa {

bool BoneRecord::add(std::int32_t joint, float weight) {
  for (std::size_t slot = 0; slot < weights.size(); ++slot) {
    if (weights[slot] == 0.0f) {
      joints[slot] = joint;
      weights[slot] = weight;
      return true;
    }
  }
  return false;
}

}  // namespace Vexa
