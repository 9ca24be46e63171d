#pragma once

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "app/Window.h"

namespace Vexa::test {

/// Gives each test a real OpenGL 3.3 core context in a hidden window, opened the
/// way the game opens its own.
class GlTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Reads the RGBA pixel at (x, y) of the bound read framebuffer.
  static std::array<unsigned char, 4> pixelAt(int x, int y);

  std::unique_ptr<Window> window;
};

/// Matches a fatal error's whole output: the message and its line end.
std::string exactMessage(const std::string& message);

}  // namespace Vexa::test
