#version 330 core
// Enemies: Phong lighting by the sun with a rim of sky light, so they stand out from the platforms.

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
  float rim = pow(1.0 - max(dot(n, v), 0.0), 3.0);
  vec3 colour = base * (0.45 + 1.1 * Ld * diffuse) + Ls * lightPower * specular +
                vec3(0.35, 0.45, 0.6) * rim;
  fragColor = vec4(colour, 1.0);
}
