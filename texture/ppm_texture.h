// The environment texture: a binary PPM file uploaded as a 2D RGB texture.
#pragma once

#include "scene/gl_headers.h"
#include "scene/scene_state.h"

// Reads `path` into image->pixels and uploads it to a new texture object, which is left bound
// with GL_TEXTURE_2D enabled. Returns the texture name, or 0 on any failure, with
// image->pixels then null. Needs a current GL context.
GLuint loadPpmTexture(ImageBuffer* image, const char* path);
