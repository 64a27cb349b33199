#include "tests/support/images.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_set>

#include <png.h>

bool readPng(const std::string& path, RgbImage* image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  image->width = static_cast<int>(png.width);
  image->height = static_cast<int>(png.height);
  image->rgb.resize(PNG_IMAGE_SIZE(png));
  if (png_image_finish_read(&png, nullptr, image->rgb.data(), 0, nullptr) == 0) {
    png_image_free(&png);
    return false;
  }
  return true;
}

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

int countColours(const std::vector<unsigned char>& rgb) {
  std::unordered_set<std::uint32_t> colours;
  for (std::size_t p = 0; p + 2 < rgb.size(); p += 3) {
    colours.insert(static_cast<std::uint32_t>(rgb[p]) << 16 | rgb[p + 1] << 8 | rgb[p + 2]);
  }
  return static_cast<int>(colours.size());
}

namespace {

constexpr int kEdgeStep = 64;  // a quarter of a channel's range
constexpr int kBlendTolerance = 8;
constexpr int kBlendMove = 16;

const unsigned char* pixelAt(const RgbImage& image, int x, int y) {
  return &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
}

int largestStep(const unsigned char* a, const unsigned char* b) {
  int step = 0;
  for (int c = 0; c < 3; ++c) {
    step = std::max(step, std::abs(a[c] - b[c]));
  }
  return step;
}

// Whether `shown` lies between `from` and `to` in every channel and has left `from`.
bool isBlend(const unsigned char* shown, const unsigned char* from, const unsigned char* to) {
  for (int c = 0; c < 3; ++c) {
    if (shown[c] < std::min(from[c], to[c]) - kBlendTolerance ||
        shown[c] > std::max(from[c], to[c]) + kBlendTolerance) {
      return false;
    }
  }
  return largestStep(shown, from) > kBlendMove;
}

}  // namespace

EdgeBlend blendedEdges(const RgbImage& smooth, const RgbImage& jagged) {
  EdgeBlend count;
  if (smooth.width != jagged.width || smooth.height != jagged.height) {
    return count;
  }
  constexpr int kNeighbours[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (int y = 1; y + 1 < jagged.height; ++y) {
    for (int x = 1; x + 1 < jagged.width; ++x) {
      bool edge = false;
      bool blended = false;
      for (const auto& [dx, dy] : kNeighbours) {
        const unsigned char* neighbour = pixelAt(jagged, x + dx, y + dy);
        if (largestStep(pixelAt(jagged, x, y), neighbour) > kEdgeStep) {
          edge = true;
          blended = blended || isBlend(pixelAt(smooth, x, y), pixelAt(jagged, x, y), neighbour);
        }
      }
      count.edges += edge;
      count.blended += blended;
    }
  }
  return count;
}
