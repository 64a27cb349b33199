// Memory for an image's pixels, released by ImageBuffer's PixelRelease.
#pragma once

#include <cstddef>

#include "scene/image_buffer.h"

// `bytes` of pixel memory aligned to kPixelAlignment, or null when there is not enough.
unsigned char* allocatePixels(std::size_t bytes);
