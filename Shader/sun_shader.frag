#version 330 core
// The sun glows in its own colour, brightest where it faces the viewer.

in vec3 viewNormal;

uniform vec3 material;

out vec4 fragColor;

void main() {
  float facing = abs(normalize(viewNormal).z);
  fragColor = vec4(mix(material, vec3(1.0, 1.0, 0.9), facing * facing), 1.0);
}
