// BlurV: a vertical Gaussian blur of srcTexture; "blur" scales its
// radius (at 1 the taps are 3 back-buffer pixels apart, whatever the size
// of the target it is drawn into; 0 turns the blur off).
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
uniform float blur = 1.0;
out vec4 fragColor;
const float WEIGHTS[5] = float[](0.227027, 0.1945946, 0.1216216, 0.054054, 0.016216);
// Back-buffer pixels between taps at blur 1.
const float SPACING = 3.0;
void main() {
    // One back-buffer pixel in uv.
    vec2 pixel = 1.0 / vec2(textureSize(sceneTexture, 0));
    vec2 step = vec2(0.0, pixel.y) * SPACING * max(blur, 0.0);
    vec3 sum = texture(srcTexture, uv).rgb * WEIGHTS[0];
    for (int i = 1; i < 5; ++i) {
        sum += texture(srcTexture, uv + step * float(i)).rgb * WEIGHTS[i];
        sum += texture(srcTexture, uv - step * float(i)).rgb * WEIGHTS[i];
    }
    fragColor = vec4(sum, 1.0);
}
#endif
