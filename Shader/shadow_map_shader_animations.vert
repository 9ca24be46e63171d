#version 330 core
// Skinned shadow casters. Skinned vertices are placed by their bone matrices,
// which already hold the model's placement; vertices without weights follow the node.

layout(location = 0) in vec3 position;
layout(location = 3) in ivec4 joints;
layout(location = 4) in vec4 weights;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform mat4 bonesMatrix[32];

out float lightDistance;

void main() {
  mat4 skin = weights.x * bonesMatrix[joints.x] + weights.y * bonesMatrix[joints.y] +
              weights.z * bonesMatrix[joints.z] + weights.w * bonesMatrix[joints.w];
  bool skinned = dot(weights, vec4(1.0)) > 0.0;
  vec4 world = skinned ? skin * vec4(position, 1.0) : modelMatrix * vec4(position, 1.0);
  gl_Position = projectionMatrix * viewMatrix * world;
  lightDistance = gl_Position.w;
}
