// Reads binary PPM ("P6", maximum value 255) images. Free of GL, so it can be tested and
// fuzzed on its own.
#pragma once

#include <cstdio>

#include "scene/image_buffer.h"

struct PpmSize {
  int width = 0;
  int height = 0;
};

// Header lines are read at most this many characters at a time; a longer line is split and its
// remainder read as the next line.
inline constexpr int kPpmLineLength = 254;

// What became of a read: Ok, or the rule that refused the file.
enum class PpmStatus {
  Ok,
  NotBinaryPpm,       // empty, or the first line does not begin with "P6"
  HeaderEndsEarly,    // the file ends among the header lines, before a size line
  NoSize,             // the size line does not begin with two numbers
  HeaderLineTooLong,  // a header line cut at kPpmLineLength left a remainder that is no size line
  NoMaximum,          // no number follows the size line
  MaximumNot255,      // the maximum value is not 255
  SizeNotPositive,    // width or height is 0 or negative
  TooLarge,           // width × height × 3 bytes do not fit a 32-bit signed count
  Truncated,          // fewer pixel bytes than width × height × 3
  OutOfMemory,        // the pixel buffer could not be allocated
};

// The refusal in a few words for a user, such as "maximum value must be 255".
const char* refusalWords(PpmStatus status);

// Reads the header from the start of an open stream, up to and including the maximum value,
// and checks the size it gives. Returns Ok, with the size in *size, or the rule that refused it.
PpmStatus readPpmHeader(std::FILE* file, PpmSize* size);

// Reads the pixels of an image of `size` whose header has just been read into
// image->pixels. Returns Ok or the rule that refused them, leaving image->pixels null then.
PpmStatus readPpmPixels(std::FILE* file, PpmSize size, ImageBuffer* image);
