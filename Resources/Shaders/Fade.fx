// Fade: cross-fades from the current frame (texture0) to the next
// (texture1) as t goes from 0 to 1, tinted by color.
#ifdef VERTEX
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
uniform mat4 worldViewProj;
out vec2 uv;
void main() {
    gl_Position = worldViewProj * vec4(position, 1.0);
    uv = texCoord;
}
#endif

#ifdef FRAGMENT
in vec2 uv;
uniform sampler2D texture0;
uniform sampler2D texture1;
uniform vec4 color;
uniform float t;
out vec4 fragColor;
void main() {
    vec4 from = texture(texture0, uv);
    vec4 to = texture(texture1, uv);
    fragColor = mix(from, to, clamp(t, 0.0, 1.0)) * color;
}
#endif
