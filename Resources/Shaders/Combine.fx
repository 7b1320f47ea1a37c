// Combine: the untouched frame (sceneTexture) with the blurred glow
// (srcTexture) added on top.
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
// How strongly the glow lights the frame.
const float GLOW = 0.6;
void main() {
    vec3 scene = texture(sceneTexture, uv).rgb;
    vec3 glow = texture(srcTexture, uv).rgb;
    fragColor = vec4(min(scene + glow * GLOW, vec3(1.0)), 1.0);
}
#endif
