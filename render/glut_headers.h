// GLUT, for the room that owns the window and for what GLUT draws (the light spheres, the
// readout's letters): no other room includes it.
#pragma once

#include "scene/gl_headers.h"

#if defined(__APPLE__)
#include <GLUT/glut.h>
#elif defined(_WIN32)
// freeglut installs GL/glut.h only where it replaces another GLUT.
#include <GL/freeglut_std.h>

#include <GL/freeglut_ext.h>  // after the header that defines its calling conventions
#else
#include <GL/glut.h>
#ifdef FREEGLUT
#include <GL/freeglut_ext.h>  // freeglut's additions, such as glutCloseFunc
#endif
#endif
