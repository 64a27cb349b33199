// The environment map the viewer starts with.
#pragma once

#include <string>

#include "scene/gl_headers.h"

// Loads `named` (the --env-map file) or, when it is empty, ./env.ppm into the scene's image
// buffer and returns the texture name, 0 when there is none. Says on standard error why a map
// that is there gives no texture, and when a named map is missing; a missing ./env.ppm stays
// silent, as the viewer has always started without one.
GLuint loadEnvironmentMap(const std::string& named);
