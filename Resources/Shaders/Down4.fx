// Down4: the average of each 4 x 4 block of pixels (a four-fold
// down-sample, written back at full size).
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
void main() {
    vec2 texel = 1.0 / vec2(textureSize(srcTexture, 0));
    vec2 block = (floor(uv / (4.0 * texel)) * 4.0 + 2.0) * texel;
    // Four bilinear taps cover the sixteen pixels of the block.
    vec3 sum = texture(srcTexture, block + vec2(-1.0, -1.0) * texel).rgb +
               texture(srcTexture, block + vec2(1.0, -1.0) * texel).rgb +
               texture(srcTexture, block + vec2(-1.0, 1.0) * texel).rgb +
               texture(srcTexture, block + vec2(1.0, 1.0) * texel).rgb;
    fragColor = vec4(sum * 0.25, 1.0);
}
#endif
