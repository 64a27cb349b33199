#include "render/smooth_edges.h"

#include <algorithm>
#include <string>

#include "files/complaint.h"

namespace {

// The viewport is the window's size as the reshape callback last set it.
void viewportSize(int* width, int* height) {
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  *width = viewport[2];
  *height = viewport[3];
}

const char kWithout[] = "; drawing without smooth edges";

}  // namespace

std::string startSmoothEdges(SmoothEdges& smooth, int asked, GlLookUp lookUp) {
  if (!haveFramebuffers(lookUp)) {
    return std::string("this GL has no framebuffer objects to smooth edges in") + kWithout;
  }
  const int most = maxFramebufferSamples();
  if (most < 2) {
    return std::string("this GL offers no multisampling") + kWithout;
  }
  int width = 0;
  int height = 0;
  viewportSize(&width, &height);
  if (!sizeFramebuffer(smooth.framebuffer, std::max(width, 1), std::max(height, 1),
                       std::min(asked, most))) {
    return std::string("this GL cannot draw into a multisampled framebuffer") + kWithout;
  }
  smooth.samples = std::min(asked, most);
  smooth.complete = true;
  const int made = smooth.framebuffer.samples;
  const std::string drawingWith = "; drawing with " + std::to_string(made);
  if (asked > most) {
    return "this GL offers at most " + std::to_string(most) + " samples a pixel" + drawingWith;
  }
  if (made != asked) {
    return "this GL offers no " + std::to_string(asked) + " samples a pixel" + drawingWith;
  }
  return "";
}

int smoothEdgeSamples(const SmoothEdges& smooth) {
  return smooth.complete ? smooth.framebuffer.samples : 0;
}

void beginSmoothFrame(SmoothEdges& smooth) {
  smooth.drawing = false;
  if (smooth.samples == 0) {
    return;
  }
  int width = 0;
  int height = 0;
  viewportSize(&width, &height);
  if (width < 1 || height < 1) {
    return;  // a window squashed to nothing is drawn as it is
  }
  Framebuffer& framebuffer = smooth.framebuffer;
  if (width != framebuffer.width || height != framebuffer.height) {
    smooth.complete = sizeFramebuffer(framebuffer, width, height, smooth.samples);
    if (!smooth.complete) {
      complain("this GL cannot draw multisampled frames of " + std::to_string(width) + " × " +
               std::to_string(height) + kWithout);
    }
  }
  if (!smooth.complete) {
    return;
  }
  drawInto(framebuffer);
  smooth.drawing = true;
}

void endSmoothFrame(const SmoothEdges& smooth) {
  if (smooth.drawing) {
    copyToWindow(smooth.framebuffer);
  }
}
