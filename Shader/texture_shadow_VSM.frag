#version 330 core
// Phong lighting with a variance shadow map. The map holds the first two moments
// of the casters' distance from the light (its clip w), so the lit fraction is
// Chebyshev's upper bound on the chance that nothing lies in front of the point.

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoord;
in vec4 shadowCoord;

uniform vec3 material;
uniform sampler2D colorTexture;
uniform bool useTexture;
uniform sampler2D shadow_map;
uniform vec3 cameraPosition;
uniform vec3 lightPosition;
uniform vec3 Ld;
uniform vec3 Ls;
uniform float lightPower;
uniform float specExp;

out vec4 fragColor;

const float minimumVariance = 0.02;
const float bleedCut = 0.35;

float litFraction() {
  if (shadowCoord.w <= 0.0) return 1.0;
  vec2 mapPoint = shadowCoord.xy / shadowCoord.w;
  if (any(lessThan(mapPoint, vec2(0.0))) || any(greaterThan(mapPoint, vec2(1.0)))) return 1.0;
  vec2 moments = texture(shadow_map, mapPoint).xy;
  float distance = shadowCoord.w;
  if (distance <= moments.x) return 1.0;
  float variance = max(moments.y - moments.x * moments.x, minimumVariance);
  float d = distance - moments.x;
  float upperBound = variance / (variance + d * d);
  return clamp((upperBound - bleedCut) / (1.0 - bleedCut), 0.0, 1.0);
}

void main() {
  vec3 base = useTexture ? texture(colorTexture, texCoord).rgb : material;
  vec3 n = normalize(worldNormal);
  vec3 l = normalize(lightPosition - worldPosition);
  vec3 v = normalize(cameraPosition - worldPosition);
  float lit = litFraction();
  float diffuse = max(dot(n, l), 0.0) * lit;
  float specular = diffuse > 0.0 ? pow(max(dot(reflect(-l, n), v), 0.0), specExp) : 0.0;
  vec3 colour = base * (0.4 + 1.15 * Ld * diffuse) + Ls * lightPower * specular;
  fragColor = vec4(colour, 1.0);
}
