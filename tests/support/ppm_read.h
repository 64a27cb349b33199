// A whole binary PPM read as the viewer reads one, header then pixels, for the tests and the
// fuzzer that hold the reader to its rules.
#pragma once

#include <cstdio>

#include "texture/ppm_reader.h"

// Reads the image from the start of an open stream into image->pixels (width × height RGB
// triplets, rows in file order) and its size into *size. On any failure returns the rule that
// refused the file and leaves image->pixels null. The caller opens and closes the stream.
PpmStatus readPpm(std::FILE* file, ImageBuffer* image, PpmSize* size);
