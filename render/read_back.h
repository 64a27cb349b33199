// Pixels read back from GL: the frame a run saves, the readout's font, the tests' pictures.
#pragma once

#include <vector>

#include "picture/png_file.h"
#include "scene/gl_headers.h"

// The framebuffer bound for reading, `width` by `height` from its lower left corner, as bytes
// of `format` (GL_RGB or GL_RED), packed, rows from the bottom as GL holds them.
std::vector<unsigned char> readBack(int width, int height, GLenum format);

// The window's back buffer, of the window's size, as the frame left it, rows from the top as
// pictures hold them.
RgbImage readBackFrame(int width, int height);
