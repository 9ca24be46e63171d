#pragma once

#include <GL/glew.h>

namespace Vexa {

/// Turns a GL capability off for as long as it lives, and back on afterwards if it
/// was on: passes that need no blending or depth test leave the state they found.
class CapabilityOff {
 public:
  explicit CapabilityOff(GLenum capability)
      : capability(capability), wasOn(glIsEnabled(capability) == GL_TRUE) {
    glDisable(capability);
  }
  ~CapabilityOff() {
    if (wasOn) glEnable(capability);
  }
  CapabilityOff(const CapabilityOff&) = delete;
  CapabilityOff& operator=(const CapabilityOff&) = delete;

  /// Whether the capability was on when the scope began.
  bool wasEnabled() const { return wasOn; }

 private:
  GLenum capability;
  bool wasOn;
};

}  // namespace Vexa
