#version 330 core
// A quad over the whole viewport, which the blur passes set to the box they blur.
// They run without depth testing; at the near plane the quad would pass it anyway.

layout(location = 0) in vec2 vertexPosition;

void main() {
  gl_Position = vec4(vertexPosition, -1.0, 1.0);
}
