#include "render/ShaderProgram.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/Fatal.h"
#include "platform/LoadTimes.h"

namespace Vexa {

namespace {

// The driver's log of a shader or a program, fetched with the matching pair of calls.
template <class GetIv, class GetLog>
std::string infoLog(GLuint name, GetIv getIv, GetLog getLog) {
  GLint length = 0;
  getIv(name, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(static_cast<size_t>(length > 0 ? length : 1), '\0');
  getLog(name, static_cast<GLsizei>(log.size()), nullptr, log.data());
  return std::string(log.data());
}

// A folder opens like a file and fails only on reading; the stream reports that,
// like any read error, by throwing.
std::string readWholeFile(const std::string& path) {
  const std::string failure = "could not create shader file: " + path;
  std::ifstream file(path);
  if (file.fail()) fatalError(failure);
  try {
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    fatalError(failure);
  }
}

}  // namespace

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath)
    : program(Program::generate()) {
  const LoadTimes::Scope timed(LoadTimes::Cause::ShaderCompilation);
  if (!program) fatalError("could not create shader program");
  vertexShader = loadShader(GL_VERTEX_SHADER, vertexPath);
  fragmentShader = loadShader(GL_FRAGMENT_SHADER, fragmentPath);
  link();
}

ShaderProgram::~ShaderProgram() {
  program.reset();
  vertexShader.reset();
  fragmentShader.reset();
}

Shader ShaderProgram::loadShader(GLenum type, const std::string& path) {
  const std::string source = readWholeFile(path);
  Shader shader(glCreateShader(type));
  if (!shader) fatalError("could not create shader handle");
  const char* text = source.c_str();
  glShaderSource(shader.id(), 1, &text, nullptr);
  glCompileShader(shader.id());
  GLint compiled = GL_FALSE;
  glGetShaderiv(shader.id(), GL_COMPILE_STATUS, &compiled);
  if (compiled == GL_FALSE || glIsShader(shader.id()) == GL_FALSE) {
    fatalError("could not compile shader: " +
               infoLog(shader.id(), glGetShaderiv, glGetShaderInfoLog));
  }
  return shader;
}

void ShaderProgram::link() {
  glAttachShader(program.id(), vertexShader.id());
  glAttachShader(program.id(), fragmentShader.id());
  glBindFragDataLocation(program.id(), 0, "fragColor");
  glLinkProgram(program.id());
  GLint linked = GL_FALSE;
  glGetProgramiv(program.id(), GL_LINK_STATUS, &linked);
  if (linked == GL_FALSE) {
    fatalError("could not link shader program: " +
               infoLog(program.id(), glGetProgramiv, glGetProgramInfoLog));
  }
}

}  // namespace Vexa
