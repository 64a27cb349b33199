// Writes screenshots as PNG pictures and as an animated GIF.
#pragma once

#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // rows from the top
};

bool writePng(const std::string& path, const RgbImage& image);

// All frames share the first frame's size; `delayCentiseconds` between frames; loops forever.
bool writeGif(const std::string& path, const std::vector<RgbImage>& frames, int delayCentiseconds);
