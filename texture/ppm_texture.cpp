#include "texture/ppm_texture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

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

TextureLoad loadPpmTextureReporting(ImageBuffer* image, const char* path) {
  TextureLoad load;
  if (image == nullptr) {
    load.problem = TextureProblem::CannotOpen;
    load.openError = EINVAL;
    return load;
  }
  std::FILE* file = std::fopen(path, "rb");
  image->pixels.reset();
  if (file == nullptr) {
    load.problem = TextureProblem::CannotOpen;
    load.openError = errno;
    return load;
  }
  load.refusal = readPpm(file, image, &load.size);
  std::fclose(file);
  if (load.refusal != PpmStatus::Ok) {
    load.problem = TextureProblem::Refused;
    return load;
  }
  load.name = upload(image, load.size);
  if (load.name == 0) {
    load.problem = TextureProblem::RefusedByGl;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &load.maxSize);
  }
  return load;
}

GLuint loadPpmTexture(ImageBuffer* image, const char* path) {
  return loadPpmTextureReporting(image, path).name;
}

std::string describe(const TextureLoad& load) {
  switch (load.problem) {
    case TextureProblem::None:
      return "loaded";
    case TextureProblem::CannotOpen:
      return std::strerror(load.openError);
    case TextureProblem::Refused:
      return describe(load.refusal);
    case TextureProblem::RefusedByGl:
      break;
  }
  if (load.size.width > load.maxSize || load.size.height > load.maxSize) {
    return "larger than this GL accepts (max " + std::to_string(load.maxSize) + ")";
  }
  return "this GL could not take the image";
}
