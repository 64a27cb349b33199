// Reads binary PPM ("P6", maximum value 255) images. Free of GL, so it can be tested and
// fuzzed on its own.
#pragma once

#include <cstdio>

#include "app/scene_state.h"

struct PpmSize {
  int width = 0;
  int height = 0;
};

// Header lines are read at most this many characters at a time; a longer line is split and its
// remainder read as the next line.
inline constexpr int kPpmLineLength = 254;

// Reads the image from the start of an open stream into image->pixels (width × height RGB
// triplets, rows in file order) and its size into *size. On any failure returns false and
// leaves image->pixels null. The caller opens and closes the stream.
bool readPpm(std::FILE* file, ImageBuffer* image, PpmSize* size);
