#version 330 core
// Skinned enemies. Skinned vertices are placed by their bone matrices, which
// already hold the model's placement; vertices without weights follow the node.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
layout(location = 3) in ivec4 joints;
layout(location = 4) in vec4 weights;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform mat4 bonesMatrix[32];

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;

void main() {
  mat4 skin = weights.x * bonesMatrix[joints.x] + weights.y * bonesMatrix[joints.y] +
              weights.z * bonesMatrix[joints.z] + weights.w * bonesMatrix[joints.w];
  mat4 placement = dot(weights, vec4(1.0)) > 0.0 ? skin : modelMatrix;
  vec4 world = placement * vec4(position, 1.0);
  worldPosition = world.xyz;
  worldNormal = mat3(placement) * normal;
  texCoord = uv;
  gl_Position = projectionMatrix * viewMatrix * world;
}
