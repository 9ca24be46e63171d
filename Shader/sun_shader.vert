#version 330 core
// The visible sun: an unlit disc or ball of the level file.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;

out vec3 viewNormal;

void main() {
  viewNormal = mat3(viewMatrix) * mat3(modelMatrix) * normal;
  gl_Position = projectionMatrix * viewMatrix * modelMatrix * vec4(position, 1.0);
}
