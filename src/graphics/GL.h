#pragma once
// The one way graphics code reaches OpenGL: libepoxy resolves the 3.3
// core entry points of whatever context is current. Include this only
// from .cpp files of src/graphics, so nothing above the renderer sees GL.

#include <epoxy/gl.h>
