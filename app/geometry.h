// GLUT's -geometry, read as X reads it, whole or not at all.
#pragma once

#include <string>

#include "app/window_request.h"

// X's geometry, [=][W{xX}H][{+-}X{+-}Y], taken whole: GLUT ignores one it cannot read to the
// end, and one with only a width or only an X, in silence, leaving its window's size or place
// undefined. So a geometry is understood here exactly or refused. Notes in `window` what it
// gives; returns "" or what is wrong with it, in words that follow the option's name.
std::string noteGeometry(WindowRequest& window, const char* geometry);
