#version 330 core
// A glowing, slightly translucent gem: strong highlights from the sun and a
// glint towards the viewer's grazing angles.

in vec3 worldPosition;
in vec3 worldNormal;

uniform vec3 material;
uniform vec3 cameraPosition;
uniform vec3 lightPosition;
uniform vec3 Ld;
uniform vec3 Ls;
uniform float lightPower;
uniform float specExp;

out vec4 fragColor;

void main() {
  vec3 n = normalize(worldNormal);
  vec3 l = normalize(lightPosition - worldPosition);
  vec3 v = normalize(cameraPosition - worldPosition);
  float diffuse = max(dot(n, l), 0.0);
  float specular = pow(max(dot(reflect(-l, n), v), 0.0), specExp * 0.25);
  float glint = pow(1.0 - abs(dot(n, v)), 2.0);
  vec3 colour = material * (0.6 + Ld * diffuse) + Ls * (lightPower * 3.0) * specular +
                vec3(1.0, 0.6, 0.6) * glint * 0.5;
  fragColor = vec4(colour, 0.9);
}
