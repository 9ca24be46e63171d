#version 330 core
// The level geometry: lit, and shadowed by the blurred variance shadow map.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform mat4 shadow_tex_mat;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;
out vec4 shadowCoord;

void main() {
  vec4 world = modelMatrix * vec4(position, 1.0);
  worldPosition = world.xyz;
  worldNormal = mat3(modelMatrix) * normal;
  texCoord = uv;
  shadowCoord = shadow_tex_mat * world;
  gl_Position = projectionMatrix * viewMatrix * world;
}
