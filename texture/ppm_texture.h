// The environment texture: a binary PPM file uploaded as a 2D RGB texture.
#pragma once

#include <string>

#include "scene/gl_headers.h"
#include "scene/image_buffer.h"
#include "texture/ppm_reader.h"

// Reads `path` into image->pixels and uploads it to a new texture object, which is left bound
// with GL_TEXTURE_2D enabled. Returns the texture name, or 0 on any failure, with
// image->pixels then null. Needs a current GL context.
GLuint loadPpmTexture(ImageBuffer* image, const char* path);

// Why a load gave no texture.
enum class TextureProblem { None, CannotOpen, Refused, RefusedByGl };

struct TextureLoad {
  GLuint name = 0;
  TextureProblem problem = TextureProblem::None;
  int openError = 0;                  // errno, when the file could not be opened
  PpmStatus refusal = PpmStatus::Ok;  // the reader's rule, when it refused the file
  PpmSize size;                       // the image's size, when GL refused it
  GLint maxSize = 0;                  // GL's largest texture side, when GL refused it
};

// loadPpmTexture, telling why it gave no texture.
TextureLoad loadPpmTextureReporting(ImageBuffer* image, const char* path);

// Why, in a few words for a user, such as "larger than this GL accepts (max 16384)".
std::string describe(const TextureLoad& load);
