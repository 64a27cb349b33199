// Reads PNG pictures back from their files and reports what they show, one line each:
// "PATH WIDTHxHEIGHT lit=N torus=M": the pixels that are not black, and those showing the
// viewer's unlit torus colour.
//
// Or, given --edges, how many of the edge pixels of a jagged picture a smooth one blends:
// "edges=N blended=M".
//
// Usage: velkarin_png_stats FILE...   (exit status 1 when a file is not a readable PNG)
//        velkarin_png_stats --edges SMOOTH JAGGED
#include <cstdio>
#include <cstring>

#include "tests/support/images.h"

namespace {

int reportEdges(const char* smoothPath, const char* jaggedPath) {
  RgbImage smooth;
  RgbImage jagged;
  if (!readPng(smoothPath, &smooth) || !readPng(jaggedPath, &jagged)) {
    std::fprintf(stderr, "velkarin_png_stats: %s or %s: not a readable PNG\n", smoothPath,
                 jaggedPath);
    return 1;
  }
  const EdgeBlend edges = blendedEdges(smooth, jagged);
  std::printf("edges=%d blended=%d\n", edges.edges, edges.blended);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--edges") == 0) {
    return reportEdges(argv[2], argv[3]);
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    RgbImage image;
    if (!readPng(argv[i], &image)) {
      std::fprintf(stderr, "velkarin_png_stats: %s: not a readable PNG\n", argv[i]);
      status = 1;
      continue;
    }
    int lit = 0;
    for (std::size_t p = 0; p + 2 < image.rgb.size(); p += 3) {
      lit += image.rgb[p] + image.rgb[p + 1] + image.rgb[p + 2] > 0;
    }
    std::printf("%s %dx%d lit=%d torus=%d\n", argv[i], image.width, image.height, lit,
                countTorusColouredPixels(image.rgb));
  }
  return status;
}
