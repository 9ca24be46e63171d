#include "model/VertexArrayProbe.h"

#include <cstdint>

namespace Vexa::test {

AttributeState attributeState(GLuint vertexArray, GLuint location) {
  AttributeState s;
  glBindVertexArray(vertexArray);
  glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &s.enabled);
  glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &s.size);
  glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &s.type);
  glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &s.stride);
  glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_INTEGER, &s.integer);
  void* pointer = nullptr;
  glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
  s.offset = static_cast<GLint>(reinterpret_cast<std::uintptr_t>(pointer));
  glBindVertexArray(0);
  return s;
}

}  // namespace Vexa::test
