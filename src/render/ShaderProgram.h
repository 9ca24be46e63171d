#pragma once

#include <string>

#include "render/GlHandle.h"

namespace Vexa {

/// A linked program built from one vertex and one fragment file under Shader/.
/// Construction returns only with a linked program; any failure ends the game.
/// Users look uniforms up by name at every use.
class ShaderProgram {
 public:
  ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath);
  // Release order: the program, then its two shaders (they are not detached first).
  ~ShaderProgram();
  ShaderProgram(const ShaderProgram&) = delete;
  ShaderProgram& operator=(const ShaderProgram&) = delete;

  GLuint programId() const { return program.id(); }

 private:
  static Shader loadShader(GLenum type, const std::string& path);
  void link();

  Program program;
  Shader vertexShader;
  Shader fragmentShader;
};

}  // namespace Vexa
