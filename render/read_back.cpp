#include "render/read_back.h"

std::vector<unsigned char> readBack(int width, int height, GLenum format) {
  const std::size_t channels = format == GL_RGB ? 3 : 1;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * channels);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);  // rows lie packed, whatever the width
  glReadPixels(0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

RgbImage readBackFrame(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  glReadBuffer(GL_BACK);
  const std::vector<unsigned char> bottomUp = readBack(image.width, image.height, GL_RGB);
  const auto rowBytes = static_cast<std::ptrdiff_t>(image.width) * 3;
  for (int row = image.height - 1; row >= 0; --row) {
    const auto start = bottomUp.begin() + row * rowBytes;
    image.rgb.insert(image.rgb.end(), start, start + rowBytes);
  }
  return image;
}
