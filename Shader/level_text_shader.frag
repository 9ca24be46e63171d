#version 330 core
// The title is lit from the sun's side but never darker than most of its colour,
// so it stays readable from every angle. The sun is far enough to count as a direction.

in vec3 worldNormal;

uniform vec3 material;
uniform vec3 lightPosition;
uniform vec3 Ld;

out vec4 fragColor;

void main() {
  float facing = max(dot(normalize(worldNormal), normalize(lightPosition)), 0.0);
  fragColor = vec4(material * (0.7 + 0.6 * Ld * facing), 1.0);
}
