#version 330 core
// White while nothing is in reach, red while the bat would strike an enemy.

uniform float hitEnemy;

out vec4 fragColor;

void main() {
  fragColor = mix(vec4(1.0, 1.0, 1.0, 0.8), vec4(1.0, 0.15, 0.1, 0.95), step(0.5, hitEnemy));
}
