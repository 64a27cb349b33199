// Smooth edges for --samples: each frame is drawn into a multisampled framebuffer and resolved
// into the window's back buffer before it is shown or read back. A multisampled window would
// be simpler, but Mesa's software drivers never resolve one, so its edges stay jagged there.
#pragma once

#include <string>

// Sets up frames drawn with `asked` samples a pixel. Returns "" when they get exactly that, or
// what they get instead, in words for standard error ("drawing without smooth edges").
std::string startSmoothEdges(int asked);

// The samples a pixel that frames are drawn with: 0 when not smoothing.
int smoothEdgeSamples();

// Around each frame while smoothing: the multisampled framebuffer, kept at the viewport's size,
// takes the drawing; then its picture goes to the window's back buffer.
void beginSmoothFrame();
void endSmoothFrame();
