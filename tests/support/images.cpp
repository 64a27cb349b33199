#include "tests/support/images.h"

#include <cstdlib>

int countTorusColouredPixels(const std::vector<unsigned char>& rgb) {
  constexpr int kTorus[3] = {230, 26, 102};
  constexpr int kTolerance = 2;
  int count = 0;
  for (std::size_t p = 0; p + 2 < rgb.size(); p += 3) {
    count += std::abs(rgb[p] - kTorus[0]) <= kTolerance &&
             std::abs(rgb[p + 1] - kTorus[1]) <= kTolerance &&
             std::abs(rgb[p + 2] - kTorus[2]) <= kTolerance;
  }
  return count;
}
