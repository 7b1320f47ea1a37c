// Basic: a sprite frame (texture0) tinted by color (red, green, blue,
// opacity). "t" is a running time the program passes along; unused here.
#ifdef VERTEX
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
uniform mat4 worldViewProj;
// Sprites and the background always face the eye squarely, so their
// texture coordinates need no perspective correction.
noperspective out vec2 uv;
void main() {
    gl_Position = worldViewProj * vec4(position, 1.0);
    uv = texCoord;
}
#endif

#ifdef FRAGMENT
noperspective in vec2 uv;
uniform sampler2D texture0;
uniform vec4 color;
uniform float t;
out vec4 fragColor;
void main() {
    fragColor = texture(texture0, uv) * color;
}
#endif
