#pragma once

#include <GL/glew.h>

#include <cstddef>
#include <vector>

namespace Vexa::test {

/// What a vertex array says about one of its attributes.
struct AttributeState {
  GLint enabled = 0;
  GLint size = 0;
  GLint type = 0;
  GLint stride = 0;
  GLint integer = 0;
  GLint offset = 0;
};

AttributeState attributeState(GLuint vertexArray, GLuint location);

/// The first `count` elements of the buffer an attribute of `vertexArray` reads.
template <class Element>
std::vector<Element> attributeBuffer(GLuint vertexArray, GLuint location, std::size_t count) {
  glBindVertexArray(vertexArray);
  GLint buffer = 0;
  glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
  glBindVertexArray(0);
  std::vector<Element> data(count);
  glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(buffer));
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(Element)),
                     data.data());
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  return data;
}

}  // namespace Vexa::test
