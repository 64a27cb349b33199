// RGB pictures of the viewer's window: counting the torus colour, and PNG files through libpng.
#pragma once

#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // rows from the top
};

// How many pixels of RGB triplets show the viewer's filled, unlit torus colour (0.9, 0.1, 0.4),
// give or take rounding.
int countTorusColouredPixels(const std::vector<unsigned char>& rgb);

bool writePng(const std::string& path, const RgbImage& image);

// Reads any PNG file as 8-bit RGB; false when it is not one.
bool readPng(const std::string& path, RgbImage* image);
