#pragma once
// The one way graphics code reaches OpenGL: libepoxy resolves the 3.3
// core entry points of whatever context is current. Include this only
// from .cpp files of src/graphics, so nothing above the renderer sees GL.

#include <epoxy/gl.h>

namespace Flurr {

// The blend of a sprite: alpha over what lies below, or added light.
// Added light is weighted by the pixel's alpha too: a sprite's opacity
// (particles fading out) and its soft edges would otherwise add at full
// strength.
inline void SetSpriteBlend(bool additive) {
    glBlendFunc(GL_SRC_ALPHA, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace Flurr
