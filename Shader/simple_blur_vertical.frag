#version 330 core
// One vertical half of a separable Gaussian blur over the shadow map's two moments.
// Every tap lies on a texel centre, where filtering would return the texel itself,
// so the taps fetch texels directly; taps past an edge repeat the edge texel, as
// the map's edge clamp would.

uniform sampler2D img;
uniform float size;

out vec4 fragColor;

const float weights[5] = float[](0.2270270, 0.1945946, 0.1216216, 0.0540541, 0.0162162);

vec2 tap(ivec2 texel) {
  int last = int(size) - 1;
  return texelFetch(img, clamp(texel, ivec2(0), ivec2(last)), 0).rg;
}

void main() {
  const ivec2 step = ivec2(0, 1);
  ivec2 centre = ivec2(gl_FragCoord.xy);
  vec2 sum = tap(centre) * weights[0];
  for (int i = 1; i < 5; ++i) {
    sum += tap(centre + step * i) * weights[i];
    sum += tap(centre - step * i) * weights[i];
  }
  fragColor = vec4(sum, 0.0, 1.0);
}
