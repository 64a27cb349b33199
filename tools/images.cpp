#include "tools/images.h"

#include <png.h>

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

bool writePng(const std::string& path, const RgbImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr) != 0;
}

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
