#version 330 core
// A screen-covering quad at the near plane, so it passes the depth test of the
// shadow framebuffer, whose depth buffer still holds the casters.

layout(location = 0) in vec2 vertexPosition;

void main() {
  gl_Position = vec4(vertexPosition, -1.0, 1.0);
}
