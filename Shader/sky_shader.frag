#version 330 core
// A gradient from a pale horizon to a deep zenith by the viewing direction, with
// a warm haze around the sun's direction.

in vec3 worldPosition;

uniform vec3 cameraPosition;
uniform vec3 lightPosition;
uniform vec3 Ld;

out vec4 fragColor;

void main() {
  vec3 direction = normalize(worldPosition - cameraPosition);
  vec3 horizon = vec3(0.78, 0.86, 0.95);
  vec3 zenith = vec3(0.22, 0.42, 0.78);
  vec3 colour = mix(horizon, zenith, smoothstep(-0.05, 0.65, direction.y));
  float towardsSun = max(dot(direction, normalize(lightPosition - cameraPosition)), 0.0);
  colour += Ld * pow(towardsSun, 24.0) * 0.45;
  fragColor = vec4(colour, 1.0);
}
