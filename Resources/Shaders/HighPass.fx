// HighPass: keeps the bright parts of the image, the start of the glow.
// Drawn into a smaller target, it keeps the bright part of every source
// pixel under a target pixel and averages them, as a full-size bright
// pass followed by a down-sample would.
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
vec3 Bright(vec2 at) {
    vec3 c = texture(srcTexture, at).rgb;
    float brightness = max(max(c.r, c.g), c.b);
    return c * clamp((brightness - THRESHOLD) / (1.0 - THRESHOLD), 0.0, 1.0);
}
void main() {
    // Source texels across one target pixel (1 at the same size, 2 at
    // half): the four taps sit on the centres of the corner texels of that
    // footprint, all four on one texel at the same size.
    vec2 size = vec2(textureSize(srcTexture, 0));
    vec2 footprint = abs(vec2(dFdx(uv.x), dFdy(uv.y))) * size;
    vec2 reach = 0.5 * max(footprint - 1.0, 0.0) / size;
    vec3 sum = Bright(uv - reach) + Bright(uv + vec2(reach.x, -reach.y)) +
               Bright(uv + vec2(-reach.x, reach.y)) + Bright(uv + reach);
    fragColor = vec4(sum * 0.25, 1.0);
}
#endif
