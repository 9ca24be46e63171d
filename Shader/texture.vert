#version 330 core
// Lit models that receive no shadow, such as the terrain far below the levels.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;

void main() {
  vec4 world = modelMatrix * vec4(position, 1.0);
  worldPosition = world.xyz;
  worldNormal = mat3(modelMatrix) * normal;
  texCoord = uv;
  gl_Position = projectionMatrix * viewMatrix * world;
}
