#include "texture/ppm_texture.h"

#include <cstdio>

#include "texture/ppm_reader.h"

namespace {

// GL keeps at most one flag per kind of error; a few reads clear any left by earlier calls, so
// the check after the upload reports the upload alone.
void clearPendingErrors() {
  constexpr int kErrorKinds = 8;
  for (int i = 0; i < kErrorKinds && glGetError() != GL_NO_ERROR; ++i) {
  }
}

GLuint upload(ImageBuffer* image, PpmSize size) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, name);
  // Rows are packed tightly, 3 × width bytes each; GL's default alignment of 4 would read
  // beyond the buffer for widths that are not a multiple of 4.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  clearPendingErrors();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size.width, size.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
               image->pixels.get());
  if (glGetError() != GL_NO_ERROR) {
    image->pixels.reset();
    return 0;
  }
  return name;
}

}  // namespace

GLuint loadPpmTexture(ImageBuffer* image, const char* path) {
  if (image == nullptr) {
    return 0;
  }
  std::FILE* file = std::fopen(path, "rb");
  image->pixels.reset();
  if (file == nullptr) {
    return 0;
  }
  PpmSize size;
  const PpmStatus status = readPpm(file, image, &size);
  std::fclose(file);
  return status == PpmStatus::Ok ? upload(image, size) : 0;
}
