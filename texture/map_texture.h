// The environment texture: a map file (binary PPM; PNG or JPEG where named) uploaded as a 2D
// RGB texture.
#pragma once

#include <string>

#include "scene/gl_headers.h"
#include "scene/image_buffer.h"
#include "texture/ppm_reader.h"

// Why a load gave no texture.
enum class TextureProblem {
  None,
  CannotOpen,   // why in openProblem: the system's reason, a folder, a FIFO with no writer
  Refused,      // the reader's rule in refusal
  Undecodable,  // a PNG or JPEG its library refused, its words in decodeProblem
  RefusedByGl,  // too large for this GL, or refused by its upload
};

struct TextureLoad {
  GLuint name = 0;
  TextureProblem problem = TextureProblem::None;
  std::string openProblem;            // when the file could not be opened
  std::string decodeProblem;          // when a PNG or JPEG could not be decoded
  PpmStatus refusal = PpmStatus::Ok;  // the reader's rule, when it refused the file
  PpmSize size;                       // the image's size, when GL refused it
  GLint maxSize = 0;                  // GL's largest texture side, when GL refused it
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

// Why, in a few words for a user, such as "larger than this GL accepts (max 16384)".
std::string describe(const TextureLoad& load);
