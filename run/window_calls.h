// What a run asks of the window it draws in. The room that owns the window fills these in and
// hands them to the run, which knows no window system of its own.
#pragma once

#include <string>

#include "scene/gl_headers.h"

struct PixelSize {
  int width = 0;
  int height = 0;
};

struct WindowCalls {
  void (*swapBuffers)() = nullptr;                      // shows the frame drawn
  PixelSize (*size)() = nullptr;                        // the window's, now
  PixelSize (*screenSize)() = nullptr;                  // the screen's
  void (*setTitle)(const std::string& utf8) = nullptr;  // the window's title
  GlLookUp lookUp = nullptr;                            // GL's entry points beyond 1.1
};
