// What the tools and tests look for in the viewer's pictures.
#pragma once

#include <vector>

#include <string>

#include "picture/png_file.h"

// Reads any PNG file as 8-bit RGB; false when it is not one.
bool readPng(const std::string& path, RgbImage* image);

// How many pixels of RGB triplets show the viewer's filled, unlit torus colour (0.9, 0.1, 0.4),
// give or take rounding.
int countTorusColouredPixels(const std::vector<unsigned char>& rgb);

// How many different colours the pixels show: edges blended by multisampling add many.
int countColours(const std::vector<unsigned char>& rgb);

// The pixels on an edge of `jagged` (a neighbour differs from it by more than a quarter of the
// range in some channel), and how many of them `smooth`, the same picture with smooth edges,
// shows blended: moved clearly away from the jagged colour, and into the span between it and
// that neighbour's in every channel. Pictures that merely differ have few such pixels.
struct EdgeBlend {
  int edges = 0;
  int blended = 0;
};
EdgeBlend blendedEdges(const RgbImage& smooth, const RgbImage& jagged);
