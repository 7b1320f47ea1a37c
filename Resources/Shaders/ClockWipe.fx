// ClockWipe: a clock hand sweeps clockwise from twelve o'clock, showing
// the next frame (texture1) behind it and the current one (texture0)
// ahead of it; t is the share of the turn done.
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
const float TAU = 6.28318530718;
void main() {
    // y up from the centre; v grows downward on the image.
    vec2 p = vec2(uv.x - 0.5, 0.5 - uv.y);
    float turn = atan(p.x, p.y) / TAU;
    if (turn < 0.0)
        turn += 1.0;
    vec4 c = turn < clamp(t, 0.0, 1.0) ? texture(texture1, uv) : texture(texture0, uv);
    fragColor = c * color;
}
#endif
