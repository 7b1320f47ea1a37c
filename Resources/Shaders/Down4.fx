// Down4: the average of each 4 x 4 block of back-buffer pixels, written
// at full size or, one pixel a block, into a target a quarter of the back
// buffer's width and height.
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
    // Sizes in uv: one back-buffer pixel, one source texel.
    vec2 pixel = 1.0 / vec2(textureSize(sceneTexture, 0));
    vec2 texel = 1.0 / vec2(textureSize(srcTexture, 0));
    // The block averaged: 4 x 4 pixels on a grid of its own in a full-size
    // target; in a target a quarter of the size, the area of one target
    // pixel (the same block, give or take the rounding of odd sizes).
    vec2 cell = max(4.0 * pixel, abs(vec2(dFdx(uv.x), dFdy(uv.y))));
    vec2 block = (floor(uv / cell) + 0.5) * cell;
    // Four bilinear taps a quarter block from its centre cover it exactly
    // when the source has four texels across it (four texels a tap) or two
    // (one texel a tap). A source with one texel a block already holds
    // the averages: the taps meet at its centre.
    vec2 reach = step(texel, 0.75 * cell) * 0.25 * cell;
    vec3 sum = texture(srcTexture, block - reach).rgb +
               texture(srcTexture, block + vec2(reach.x, -reach.y)).rgb +
               texture(srcTexture, block + vec2(-reach.x, reach.y)).rgb +
               texture(srcTexture, block + reach).rgb;
    fragColor = vec4(sum * 0.25, 1.0);
}
#endif
