#include "render/SoftwareRasterizer.h"

#include <GL/glew.h>

#include <string>

namespace Vexa {

bool softwareRasterizer() {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  if (!renderer) return false;
  const std::string name(renderer);
  return name.find("llvmpipe") != std::string::npos || name.find("softpipe") != std::string::npos;
}

}  // namespace Vexa
