// Debug: lines in one flat colour, positions in world units.
#ifdef VERTEX
layout(location = 0) in vec3 position;
uniform mat4 worldViewProj;
void main() {
    gl_Position = worldViewProj * vec4(position, 1.0);
}
#endif

#ifdef FRAGMENT
uniform vec4 color;
out vec4 fragColor;
void main() {
    fragColor = color;
}
#endif
