#include "Screenshot.h"

#include <GL/glew.h>

#include <vector>

#include "ContactSheet.h"
#include "app/Window.h"

namespace Vexa::replay {

void writeScreenshot(const Window& window, const std::string& path) {
  const auto [width, height] = window.framebufferSize();
  std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  // The window may keep an alpha channel that nothing draws sensibly into.
  for (std::size_t alpha = 3; alpha < rgba.size(); alpha += 4) rgba[alpha] = 255;
  viewer::ContactSheet picture(1, 1, width, height);
  picture.place(0, 0, rgba);
  picture.write(path);
}

}  // namespace Vexa::replay
