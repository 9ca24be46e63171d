#pragma once

#include <GL/glew.h>

#include <utility>

namespace Vexa {

/// Owns one OpenGL object name. Move-only, so every name is deleted exactly once;
/// the name 0 means "none" and is never deleted. Needs the context that created it.
template <class Kind>
class GlHandle {
 public:
  GlHandle() = default;
  explicit GlHandle(GLuint name) : name(name) {}
  GlHandle(const GlHandle&) = delete;
  GlHandle& operator=(const GlHandle&) = delete;
  GlHandle(GlHandle&& other) noexcept : name(std::exchange(other.name, 0)) {}
  GlHandle& operator=(GlHandle&& other) noexcept {
    if (this != &other) {
      reset();
      name = std::exchange(other.name, 0);
    }
    return *this;
  }
  ~GlHandle() { reset(); }

  /// A fresh name from the driver (glGen* / glCreate*).
  static GlHandle generate() { return GlHandle(Kind::create()); }

  GLuint id() const { return name; }
  explicit operator bool() const { return name != 0; }

  void reset() {
    if (name != 0) Kind::destroy(std::exchange(name, 0));
  }

 private:
  GLuint name = 0;
};

namespace gl {

struct BufferKind {
  static GLuint create() {
    GLuint n = 0;
    glGenBuffers(1, &n);
    return n;
  }
  static void destroy(GLuint n) { glDeleteBuffers(1, &n); }
};
struct TextureKind {
  static GLuint create() {
    GLuint n = 0;
    glGenTextures(1, &n);
    return n;
  }
  static void destroy(GLuint n) { glDeleteTextures(1, &n); }
};
struct VertexArrayKind {
  static GLuint create() {
    GLuint n = 0;
    glGenVertexArrays(1, &n);
    return n;
  }
  static void destroy(GLuint n) { glDeleteVertexArrays(1, &n); }
};
struct FramebufferKind {
  static GLuint create() {
    GLuint n = 0;
    glGenFramebuffers(1, &n);
    return n;
  }
  static void destroy(GLuint n) { glDeleteFramebuffers(1, &n); }
};
struct ProgramKind {
  static GLuint create() { return glCreateProgram(); }
  static void destroy(GLuint n) { glDeleteProgram(n); }
};
struct ShaderKind {
  // Shaders are created with their type, see ShaderProgram.
  static void destroy(GLuint n) { glDeleteShader(n); }
};

}  // namespace gl

using Buffer = GlHandle<gl::BufferKind>;
using Texture = GlHandle<gl::TextureKind>;
using VertexArray = GlHandle<gl::VertexArrayKind>;
using Framebuffer = GlHandle<gl::FramebufferKind>;
using Program = GlHandle<gl::ProgramKind>;
using Shader = GlHandle<gl::ShaderKind>;

}  // namespace Vexa
