#include "tests/ppm_files.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

std::string pixelBytes(int count) {
  std::string bytes;
  for (int k = 0; k < count; ++k) {
    bytes.push_back(static_cast<char>(32 + (k * 7) % 200));
  }
  return bytes;
}

std::string ppm(int width, int height, int count) {
  return "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n" +
         pixelBytes(count);
}

std::string writeTempFile(const std::string& contents) {
  const char* base = std::getenv("TMPDIR");
  std::string path = std::string(base != nullptr ? base : "/tmp") + "/velkarin-ppm-XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd < 0) {
    return {};
  }
  close(fd);
  std::ofstream(path, std::ios::binary) << contents;
  return path;
}
