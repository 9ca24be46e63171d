#version 330 core
// Phong lighting by the level's sun; the surface is the material's colour or texture.

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoord;

uniform vec3 material;
uniform sampler2D colorTexture;
uniform bool useTexture;
uniform vec3 cameraPosition;
uniform vec3 lightPosition;
uniform vec3 Ld;
uniform vec3 Ls;
uniform float lightPower;
uniform float specExp;

out vec4 fragColor;

void main() {
  vec3 base = useTexture ? texture(colorTexture, texCoord).rgb : material;
  vec3 n = normalize(worldNormal);
  vec3 l = normalize(lightPosition - worldPosition);
  vec3 v = normalize(cameraPosition - worldPosition);
  float diffuse = max(dot(n, l), 0.0);
  float specular = diffuse > 0.0 ? pow(max(dot(reflect(-l, n), v), 0.0), specExp) : 0.0;
  vec3 colour = base * (0.45 + 1.1 * Ld * diffuse) + Ls * lightPower * specular;
  fragColor = vec4(colour, 1.0);
}
