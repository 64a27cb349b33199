// RGB pictures as PNG files, through libpng: the viewer's --screenshot and the tools that check
// pictures share them. Free of GL.
#pragma once

#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // RGB triplets, rows from the top
};

// Writes `image` to `path`. The picture goes to a temporary file beside `path` first and is
// renamed over it once complete, so an existing file is never left half-written. Returns "" or
// why the file could not be written, such as "No such file or directory".
std::string writePng(const std::string& path, const RgbImage& image);

// Reads any PNG file as 8-bit RGB; false when it is not one.
bool readPng(const std::string& path, RgbImage* image);
