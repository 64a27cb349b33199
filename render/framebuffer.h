// Framebuffer objects, for drawing somewhere other than the window: a multisampled one whose
// picture is resolved into the window's back buffer, or a small plain one to draw and read back
// at a size of its own. Their entry points are GL 3.0's (or ARB_framebuffer_object's), looked up
// once a context exists, since Windows' GL library exports only GL 1.1.
#pragma once

#include "scene/gl_headers.h"

#ifndef __APPLE__
#include <GL/glext.h>  // GL 3.0's names, which Windows' GL header lacks
#endif

struct Framebuffer {
  GLuint name = 0;
  GLuint colour = 0;  // renderbuffers
  GLuint depth = 0;
  int width = 0;
  int height = 0;
  int samples = 0;  // as GL made them: 0 for a plain one
};

// Whether this GL has framebuffer objects. Looks their entry points up with `lookUp` on its first
// call; needs a current context.
bool haveFramebuffers(GlLookUp lookUp);

// The largest number of samples a pixel that a framebuffer may have here; 0 without them.
int maxFramebufferSamples();

// Gives `framebuffer` an RGBA colour and a depth buffer of this size and sample count (0: not
// multisampled), creating it on the first call. Returns whether GL can draw into it as made;
// the window stays bound for drawing either way.
bool sizeFramebuffer(Framebuffer& framebuffer, int width, int height, int samples);

// Where the next drawing goes: into `framebuffer`, or back into the window.
void drawInto(const Framebuffer& framebuffer);
void drawIntoWindow();

// Resolves `framebuffer` into the window's back buffer, pixel for pixel from the lower left
// corner, and leaves the window bound for drawing and reading.
void copyToWindow(const Framebuffer& framebuffer);
