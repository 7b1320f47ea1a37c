// Up4: a four-fold up-sample: smooths the blocks Down4 left behind with
// four taps two back-buffer pixels away on the diagonals, read bilinearly
// from a source of any size.
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
    // One back-buffer pixel in uv.
    vec2 pixel = 1.0 / vec2(textureSize(sceneTexture, 0));
    vec3 sum = texture(srcTexture, uv + vec2(-2.0, -2.0) * pixel).rgb +
               texture(srcTexture, uv + vec2(2.0, -2.0) * pixel).rgb +
               texture(srcTexture, uv + vec2(-2.0, 2.0) * pixel).rgb +
               texture(srcTexture, uv + vec2(2.0, 2.0) * pixel).rgb;
    fragColor = vec4(sum * 0.25, 1.0);
}
#endif
