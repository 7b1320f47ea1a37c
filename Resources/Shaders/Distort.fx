// Distort: a ripple spreading from "center" (pixels of the 800 x 600
// layout) as t (seconds) runs; speed sets how fast the rings travel and
// wavelength how far apart they are (both in screen heights).
#ifdef VERTEX
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
uniform mat4 worldViewProj;
out vec2 uv;
void main() {
    gl_Position = worldViewProj * vec4(position, 1.0);
    // Render targets keep their bottom row first: flip v so the top of
    // the image stays at the top.
    uv = vec2(texCoord.x, 1.0 - texCoord.y);
}
#endif

#ifdef FRAGMENT
in vec2 uv;
uniform sampler2D sceneTexture;
uniform sampler2D srcTexture;
uniform float t;
uniform float speed;
uniform float wavelength;
uniform vec4 center;
out vec4 fragColor;
const float TAU = 6.28318530718;
// Largest sideways shift, in screen heights.
const float AMPLITUDE = 0.006;
void main() {
    vec2 size = vec2(textureSize(srcTexture, 0));
    float aspect = size.x / size.y;
    // Layout pixels to uv, with y down like the layout.
    vec2 c = center.xy / vec2(800.0, 600.0);
    vec2 d = (uv - vec2(c.x, 1.0 - c.y)) * vec2(aspect, 1.0);
    float r = length(d);
    float phase = (r - t * speed) / max(wavelength, 1e-3) * TAU;
    vec2 dir = r > 1e-5 ? d / r : vec2(0.0);
    vec2 shift = dir * sin(phase) * AMPLITUDE / vec2(aspect, 1.0);
    fragColor = vec4(texture(srcTexture, uv + shift).rgb, 1.0);
}
#endif
