#include "picture/png_file.h"

#include <png.h>

std::string encodePng(std::FILE* file, const RgbImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  if (png_image_write_to_stdio(&png, file, 0, image.rgb.data(), 0, nullptr) == 0) {
    return png.message;
  }
  return "";
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
