// What the tools and tests look for in the viewer's pictures.
#pragma once

#include <vector>

#include "picture/png_file.h"

// How many pixels of RGB triplets show the viewer's filled, unlit torus colour (0.9, 0.1, 0.4),
// give or take rounding.
int countTorusColouredPixels(const std::vector<unsigned char>& rgb);
