// HighPass: keeps the bright parts of the image, the start of the glow.
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
out vec4 fragColor;
// Brightness (0..1) below which nothing glows.
const float THRESHOLD = 0.75;
void main() {
    vec3 c = texture(srcTexture, uv).rgb;
    float brightness = max(max(c.r, c.g), c.b);
    float keep = clamp((brightness - THRESHOLD) / (1.0 - THRESHOLD), 0.0, 1.0);
    fragColor = vec4(c * keep, 1.0);
}
#endif
