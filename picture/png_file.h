// RGB pictures as PNG, through libpng: the viewer's --screenshot and the tools that check
// pictures share the form and the writer. Free of GL.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // RGB triplets, rows from the top
};

// Encodes `image` as PNG into an open file; "" or libpng's reason. The caller closes the file
// and checks that close, which is where a full disk shows.
std::string encodePng(std::FILE* file, const RgbImage& image);
