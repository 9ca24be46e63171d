#version 330 core
// The crosshair in window pixels: origin at the top left, y downwards.

layout(location = 0) in vec3 position;

uniform mat4 modelMatrix;
uniform mat4 orthoMatrix;

void main() {
  gl_Position = orthoMatrix * modelMatrix * vec4(position, 1.0);
}
