#include "support/GlTest.h"

namespace Vexa::test {

void GlTest::SetUp() {
  window = std::make_unique<Window>(WindowMode::Windowed, false);
  ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

void GlTest::TearDown() {
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the test left a GL error";
  window.reset();
}

std::array<unsigned char, 4> GlTest::pixelAt(int x, int y) {
  std::array<unsigned char, 4> pixel{};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
  return pixel;
}

std::string exactMessage(const std::string& message) {
  std::string escaped;
  for (char c : message) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) escaped += '\\';
    escaped += c;
  }
  return "^" + escaped + "\n$";
}

}  // namespace Vexa::test
