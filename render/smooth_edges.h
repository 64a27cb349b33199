// Smooth edges for --samples: each frame is drawn into a multisampled framebuffer and resolved
// into the window's back buffer before it is shown or read back. A multisampled window would
// be simpler, but Mesa's software drivers never resolve one, so its edges stay jagged there.
#pragma once

#include <string>

#include "render/framebuffer.h"

// The state of smooth edges across frames, held by the run.
struct SmoothEdges {
  Framebuffer framebuffer;
  int samples = 0;        // asked of GL; 0 while not smoothing
  bool complete = false;  // GL can draw into the framebuffer at its present size
  bool drawing = false;   // the framebuffer took this frame
};

// Sets up frames drawn with `asked` samples a pixel. Returns "" when they get exactly that, or
// what they get instead, in words for standard error ("drawing without smooth edges").
std::string startSmoothEdges(SmoothEdges& smooth, int asked, GlLookUp lookUp);

// The samples a pixel that frames are drawn with: 0 when not smoothing.
int smoothEdgeSamples(const SmoothEdges& smooth);

// Around each frame while smoothing: the multisampled framebuffer, kept at the viewport's size,
// takes the drawing; then its picture goes to the window's back buffer.
void beginSmoothFrame(SmoothEdges& smooth);
void endSmoothFrame(const SmoothEdges& smooth);
