// One place that knows where each platform keeps its GL, GLU and GLUT headers.
#pragma once

#if defined(__APPLE__)
#define GL_SILENCE_DEPRECATION
#include <GLUT/glut.h>
#include <OpenGL/gl.h>
#include <OpenGL/glu.h>
#elif defined(_WIN32)
// freeglut's own header brings windows.h, GL and GLU in the order Windows needs them; it
// installs GL/glut.h only where it replaces another GLUT.
#include <GL/freeglut_std.h>

#include <GL/freeglut_ext.h>  // after the header that defines its calling conventions
#else
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>
#ifdef FREEGLUT
#include <GL/freeglut_ext.h>  // freeglut's additions, such as glutCloseFunc
#endif
#endif
