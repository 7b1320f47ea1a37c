// ColorCorrection: colour levels per channel. Input between inBlack and
// inWhite is stretched to outBlack..outWhite; the neutral block (0, 0,
// 1, 1) leaves the image as it is.
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
uniform vec4 inBlack = vec4(0.0, 0.0, 0.0, 1.0);
uniform vec4 outBlack = vec4(0.0, 0.0, 0.0, 1.0);
uniform vec4 inWhite = vec4(1.0, 1.0, 1.0, 1.0);
uniform vec4 outWhite = vec4(1.0, 1.0, 1.0, 1.0);
out vec4 fragColor;
void main() {
    vec3 c = texture(srcTexture, uv).rgb;
    vec3 range = max(inWhite.rgb - inBlack.rgb, vec3(1e-4));
    vec3 level = clamp((c - inBlack.rgb) / range, 0.0, 1.0);
    fragColor = vec4(mix(outBlack.rgb, outWhite.rgb, level), 1.0);
}
#endif
