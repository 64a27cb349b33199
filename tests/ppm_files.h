// Builds PPM files for the loader tests.
#pragma once

#include <string>

// `count` pixel bytes that vary from byte to byte and never hold a line break, so the header
// reader cannot mistake them for one.
std::string pixelBytes(int count);

// "P6\n<width> <height>\n255\n" followed by `count` pixel bytes.
std::string ppm(int width, int height, int count);

// Writes `contents` to a new file in the temporary folder and returns its path.
std::string writeTempFile(const std::string& contents);
