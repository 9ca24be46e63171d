#version 330 core
// Phong lighting of the bat in camera space.

in vec3 eyePosition;
in vec3 eyeNormal;
in vec3 eyeLightDirection;
in vec2 texCoord;

uniform vec3 material;
uniform sampler2D colorTexture;
uniform bool useTexture;
uniform vec3 Ld;
uniform vec3 Ls;
uniform float lightPower;
uniform float specExp;

out vec4 fragColor;

void main() {
  vec3 base = useTexture ? texture(colorTexture, texCoord).rgb : material;
  vec3 n = normalize(eyeNormal);
  vec3 l = normalize(eyeLightDirection);
  vec3 v = normalize(-eyePosition);
  float diffuse = max(dot(n, l), 0.0);
  float specular = diffuse > 0.0 ? pow(max(dot(reflect(-l, n), v), 0.0), specExp * 0.1) : 0.0;
  vec3 colour = base * (0.5 + 0.9 * Ld * diffuse) + Ls * lightPower * specular;
  fragColor = vec4(colour, 1.0);
}
