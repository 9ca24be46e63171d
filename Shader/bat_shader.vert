#version 330 core
// The first-person bat lives in camera space: its placement never follows the
// player, so the view matrix is left out and only the projection applies.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
layout(location = 3) in ivec4 joints;
layout(location = 4) in vec4 weights;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform vec3 lightPosition;
uniform vec3 cameraPosition;
uniform mat4 bonesMatrix[32];

out vec3 eyePosition;
out vec3 eyeNormal;
out vec3 eyeLightDirection;
out vec2 texCoord;

void main() {
  mat4 skin = weights.x * bonesMatrix[joints.x] + weights.y * bonesMatrix[joints.y] +
              weights.z * bonesMatrix[joints.z] + weights.w * bonesMatrix[joints.w];
  mat4 placement = dot(weights, vec4(1.0)) > 0.0 ? skin : modelMatrix;
  vec4 eye = placement * vec4(position, 1.0);
  eyePosition = eye.xyz;
  eyeNormal = mat3(placement) * normal;
  // The sun lights the bat from where it stands in the world, turned into view space.
  eyeLightDirection = mat3(viewMatrix) * normalize(lightPosition - cameraPosition);
  texCoord = uv;
  gl_Position = projectionMatrix * eye;
}
