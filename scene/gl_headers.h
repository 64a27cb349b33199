// One place that knows where each platform keeps its GL and GLU headers. GLUT is not among
// them: only the rooms that own the window, and what GLUT draws, see it (render/glut_headers.h).
#pragma once

#if defined(__APPLE__)
#define GL_SILENCE_DEPRECATION
#include <OpenGL/gl.h>
#include <OpenGL/glu.h>
#elif defined(_WIN32)
// Windows' GL header needs the calling conventions windows.h defines, and nothing else of it.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>
#else
#include <GL/gl.h>
#include <GL/glu.h>
#endif

// An entry point of GL beyond 1.1, looked up where the window system keeps them: the room that
// owns the window hands its look-up down to what needs one.
using GlEntry = void (*)();
using GlLookUp = GlEntry (*)(const char* name);
