#include "render/framebuffer.h"

#include <string_view>

namespace {

// Looked up where the window system keeps them, through the look-up its room hands down.
struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC renderbufferStorageMultisample = nullptr;
  PFNGLGETRENDERBUFFERPARAMETERIVPROC getRenderbufferParameteriv = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
  bool complete = false;  // every one was found, in a GL that has them
};

template <typename Entry>
bool lookUp(GlLookUp look, Entry* entry, const char* name) {
  *entry = look != nullptr ? reinterpret_cast<Entry>(look(name)) : nullptr;
  return *entry != nullptr;
}

// A GL that names an entry point may still not have it (glX hands out a pointer for any
// name), so the version or the extension decides first.
bool glOffersFramebuffers() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  const bool fromVersion = version != nullptr && version[0] >= '3' && version[0] <= '9';
  return fromVersion ||
         (extensions != nullptr &&
          std::string_view(extensions).find("GL_ARB_framebuffer_object") != std::string_view::npos);
}

FramebufferCalls lookUpCalls(GlLookUp look) {
  FramebufferCalls calls;
  if (!glOffersFramebuffers()) {
    return calls;
  }
  calls.complete =
      lookUp(look, &calls.genFramebuffers, "glGenFramebuffers") &&
      lookUp(look, &calls.bindFramebuffer, "glBindFramebuffer") &&
      lookUp(look, &calls.genRenderbuffers, "glGenRenderbuffers") &&
      lookUp(look, &calls.bindRenderbuffer, "glBindRenderbuffer") &&
      lookUp(look, &calls.renderbufferStorageMultisample, "glRenderbufferStorageMultisample") &&
      lookUp(look, &calls.getRenderbufferParameteriv, "glGetRenderbufferParameteriv") &&
      lookUp(look, &calls.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
      lookUp(look, &calls.checkFramebufferStatus, "glCheckFramebufferStatus") &&
      lookUp(look, &calls.blitFramebuffer, "glBlitFramebuffer");
  return calls;
}

// The process has one GL: its entry points are looked up once, by haveFramebuffers, the first
// call, once a context exists.
FramebufferCalls& gl() {
  static FramebufferCalls calls;
  return calls;
}

void storeRenderbuffer(GLuint renderbuffer, GLenum format, const Framebuffer& framebuffer) {
  gl().bindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
  gl().renderbufferStorageMultisample(GL_RENDERBUFFER, framebuffer.samples, format,
                                      framebuffer.width, framebuffer.height);
}

}  // namespace

bool haveFramebuffers(GlLookUp lookUp) {
  static const bool lookedUp = (gl() = lookUpCalls(lookUp), true);
  (void)lookedUp;
  return gl().complete;
}

int maxFramebufferSamples() {
  if (!gl().complete) {
    return 0;
  }
  GLint samples = 0;
  glGetIntegerv(GL_MAX_SAMPLES, &samples);
  return samples;
}

bool sizeFramebuffer(Framebuffer& framebuffer, int width, int height, int samples) {
  if (!gl().complete) {
    return false;
  }
  if (framebuffer.name == 0) {
    gl().genFramebuffers(1, &framebuffer.name);
    gl().genRenderbuffers(1, &framebuffer.colour);
    gl().genRenderbuffers(1, &framebuffer.depth);
  }
  framebuffer.width = width;
  framebuffer.height = height;
  framebuffer.samples = samples;
  storeRenderbuffer(framebuffer.colour, GL_RGBA8, framebuffer);
  GLint made = 0;  // GL may give more samples than asked for, never fewer
  gl().getRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &made);
  framebuffer.samples = made;
  storeRenderbuffer(framebuffer.depth, GL_DEPTH_COMPONENT24, framebuffer);
  gl().bindRenderbuffer(GL_RENDERBUFFER, 0);
  gl().bindFramebuffer(GL_FRAMEBUFFER, framebuffer.name);
  gl().framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                               framebuffer.colour);
  gl().framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                               framebuffer.depth);
  const bool complete = gl().checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  gl().bindFramebuffer(GL_FRAMEBUFFER, 0);
  return complete;
}

void drawInto(const Framebuffer& framebuffer) {
  gl().bindFramebuffer(GL_FRAMEBUFFER, framebuffer.name);
}

void drawIntoWindow() {
  if (gl().complete) {
    gl().bindFramebuffer(GL_FRAMEBUFFER, 0);
  }
}

void copyToWindow(const Framebuffer& framebuffer) {
  gl().bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer.name);
  gl().bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDrawBuffer(GL_BACK);
  gl().blitFramebuffer(0, 0, framebuffer.width, framebuffer.height, 0, 0, framebuffer.width,
                       framebuffer.height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  gl().bindFramebuffer(GL_FRAMEBUFFER, 0);
}
