#include "render/framebuffer.h"

#include <string_view>

namespace {

// Looked up through GLUT, which asks the platform's GL (glX, wgl) for them.
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
bool lookUp(Entry* entry, const char* name) {
#if defined(FREEGLUT) || defined(_WIN32)
  *entry = reinterpret_cast<Entry>(glutGetProcAddress(name));
#else
  (void)name;
#endif
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

FramebufferCalls lookUpCalls() {
  FramebufferCalls calls;
  if (!glOffersFramebuffers()) {
    return calls;
  }
  calls.complete =
      lookUp(&calls.genFramebuffers, "glGenFramebuffers") &&
      lookUp(&calls.bindFramebuffer, "glBindFramebuffer") &&
      lookUp(&calls.genRenderbuffers, "glGenRenderbuffers") &&
      lookUp(&calls.bindRenderbuffer, "glBindRenderbuffer") &&
      lookUp(&calls.renderbufferStorageMultisample, "glRenderbufferStorageMultisample") &&
      lookUp(&calls.getRenderbufferParameteriv, "glGetRenderbufferParameteriv") &&
      lookUp(&calls.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
      lookUp(&calls.checkFramebufferStatus, "glCheckFramebufferStatus") &&
      lookUp(&calls.blitFramebuffer, "glBlitFramebuffer");
  return calls;
}

// Looked up on first use, which comes once a context exists.
const FramebufferCalls& gl() {
  static const FramebufferCalls calls = lookUpCalls();
  return calls;
}

void storeRenderbuffer(GLuint renderbuffer, GLenum format, const Framebuffer& framebuffer) {
  gl().bindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
  gl().renderbufferStorageMultisample(GL_RENDERBUFFER, framebuffer.samples, format,
                                      framebuffer.width, framebuffer.height);
}

}  // namespace

bool haveFramebuffers() {
  return gl().complete;
}

int maxFramebufferSamples() {
  if (!haveFramebuffers()) {
    return 0;
  }
  GLint samples = 0;
  glGetIntegerv(GL_MAX_SAMPLES, &samples);
  return samples;
}

bool sizeFramebuffer(Framebuffer& framebuffer, int width, int height, int samples) {
  if (!haveFramebuffers()) {
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
