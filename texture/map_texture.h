// The environment texture: a map file (binary PPM; PNG or JPEG where named) uploaded as a 2D
// RGB texture.
#pragma once

#include <string>

#include "scene/gl_headers.h"
#include "scene/image_buffer.h"
#include "texture/ppm_reader.h"

// Why a map gave no pixels when reading it took more memory than there was.
inline constexpr char kNoMemoryToRead[] = "not enough memory to read it";

// A map's load: its texture, or why it gave none.
struct TextureLoad {
  GLuint name = 0;
  // "" while nothing went wrong; else why, in a user's words: the system's reason, the PPM
  // reader's rule, libpng's or libjpeg's, or this GL's ("larger than this GL accepts (max 16384)").
  std::string problem;
  bool cannotOpen = false;  // the problem is that the file could not be opened
  PpmSize size;             // the image's size, once its header was read
};

// Reads `path` into image->pixels and uploads it to a new texture object, which is left bound
// with GL_TEXTURE_2D enabled. Returns the texture name, or 0 on any failure, with
// image->pixels then null; *report, where given, tells why. Needs a current GL context.
GLuint loadPpmTexture(ImageBuffer* image, const char* path, TextureLoad* report = nullptr);

// loadPpmTexture for a map of any format the viewer reads, chosen by the file's first byte, not
// its name: binary PPM by the same rules, PNG or JPEG.
GLuint loadMapTexture(ImageBuffer* image, const char* path, TextureLoad* report = nullptr);

// The first half of loadMapTexture, free of GL: reads and decodes `path` into image->pixels,
// with the image's size or why it gave none in the report, its name 0. An image with a side
// larger than `largestSide` (GL's, learnt beforehand) is refused before its pixels are read.
TextureLoad readMapPixels(ImageBuffer* image, const char* path, GLint largestSide);

// The second half: uploads pixels that readMapPixels gave to a new texture, left bound with
// GL_TEXTURE_2D enabled, and sets load->name; 0 with the reason when GL refuses them. Does
// nothing for a load that already failed. Needs a current GL context.
void uploadMapPixels(ImageBuffer* image, TextureLoad* load);
