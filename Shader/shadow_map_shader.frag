#version 330 core
// Writes the variance shadow map's moments: the distance and its square, with the
// slope's spread added to the square so that tilted surfaces do not shadow themselves.

in float lightDistance;

out vec4 fragColor;

void main() {
  float dx = dFdx(lightDistance);
  float dy = dFdy(lightDistance);
  fragColor = vec4(lightDistance, lightDistance * lightDistance + 0.25 * (dx * dx + dy * dy), 0.0, 1.0);
}
