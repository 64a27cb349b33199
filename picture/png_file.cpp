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
