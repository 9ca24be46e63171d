#version 330 core
// One vertical half of a separable Gaussian blur over the shadow map's moments.

uniform sampler2D img;
uniform float size;

out vec4 fragColor;

const float weights[5] = float[](0.2270270, 0.1945946, 0.1216216, 0.0540541, 0.0162162);

void main() {
  vec2 texel = vec2(0.0, 1.0) / size;
  vec2 point = gl_FragCoord.xy / size;
  vec3 sum = texture(img, point).rgb * weights[0];
  for (int i = 1; i < 5; ++i) {
    sum += texture(img, point + texel * float(i)).rgb * weights[i];
    sum += texture(img, point - texel * float(i)).rgb * weights[i];
  }
  fragColor = vec4(sum, 1.0);
}
