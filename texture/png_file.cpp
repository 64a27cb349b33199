#include "texture/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// An empty file of its own beside `path`, named "path.XXXXXX", open for writing with the
// permissions a new file would get; null when none can be made.
std::FILE* openBeside(const std::string& path, std::string* temporary) {
  std::vector<char> name(path.begin(), path.end());
  const char suffix[] = ".XXXXXX";
  name.insert(name.end(), suffix, suffix + sizeof suffix);
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    return nullptr;
  }
  *temporary = name.data();
#ifndef _WIN32
  // mkstemp makes the file private; the picture is an ordinary file, readable as the umask says.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
#endif
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
  }
  return file;
}

// Encodes the picture into an open file; "" or libpng's reason.
std::string encode(std::FILE* file, const RgbImage& image) {
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

}  // namespace

std::string writePng(const std::string& path, const RgbImage& image) {
  std::string temporary;
  std::FILE* file = openBeside(path, &temporary);
  if (file == nullptr) {
    return std::strerror(errno);
  }
  std::string problem = encode(file, image);
  if (std::fclose(file) != 0 && problem.empty()) {
    problem = std::strerror(errno);
  }
  if (problem.empty()) {
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (!error) {
      return "";
    }
    problem = error.message();
  }
  std::remove(temporary.c_str());
  return problem;
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
