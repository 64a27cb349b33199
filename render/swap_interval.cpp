#include "render/swap_interval.h"

#include <cstring>

#include "scene/gl_headers.h"

#if !defined(_WIN32) && !defined(__APPLE__)
#include <GL/glx.h>
#endif

namespace {

template <typename Entry>
Entry entryPoint(GlLookUp lookUp, const char* name) {
  return reinterpret_cast<Entry>(lookUp(name));
}

#if !defined(_WIN32) && !defined(__APPLE__)

// Extension names are whole words of the space-separated list.
bool listed(const char* list, const char* name) {
  const std::size_t length = std::strlen(name);
  for (const char* at = list; at != nullptr && (at = std::strstr(at, name)) != nullptr;
       at += length) {
    const bool starts = at == list || at[-1] == ' ';
    if (starts && (at[length] == ' ' || at[length] == '\0')) {
      return true;
    }
  }
  return false;
}

SwapControl setThroughGlx(int interval, GlLookUp lookUp) {
  SwapControl control;
  Display* display = glXGetCurrentDisplay();
  const GLXDrawable drawable = glXGetCurrentDrawable();
  if (display == nullptr) {
    return control;
  }
  const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
  using Ext = void (*)(Display*, GLXDrawable, int);
  using Mesa = int (*)(unsigned);
  using MesaGet = int (*)();
  using Sgi = int (*)(int);
  if (const auto ext = entryPoint<Ext>(lookUp, "glXSwapIntervalEXT");
      ext != nullptr && listed(extensions, "GLX_EXT_swap_control")) {
    ext(display, drawable, interval);
    unsigned obtained = 0;
    glXQueryDrawable(display, drawable, GLX_SWAP_INTERVAL_EXT, &obtained);
    return {"GLX_EXT_swap_control", static_cast<int>(obtained)};
  }
  if (const auto mesa = entryPoint<Mesa>(lookUp, "glXSwapIntervalMESA");
      mesa != nullptr && listed(extensions, "GLX_MESA_swap_control")) {
    if (mesa(static_cast<unsigned>(interval)) == 0) {
      const auto get = entryPoint<MesaGet>(lookUp, "glXGetSwapIntervalMESA");
      return {"GLX_MESA_swap_control", get != nullptr ? get() : interval};
    }
    return control;
  }
  // SGI's extension cannot switch the wait off, and cannot say what it has.
  if (const auto sgi = entryPoint<Sgi>(lookUp, "glXSwapIntervalSGI");
      sgi != nullptr && interval > 0 && listed(extensions, "GLX_SGI_swap_control") &&
      sgi(interval) == 0) {
    return {"GLX_SGI_swap_control", -1};
  }
  return control;
}

#endif

}  // namespace

SwapControl setSwapInterval(int interval, GlLookUp lookUp, std::string* problem) {
  SwapControl control;
#if defined(_WIN32)
  using Set = BOOL(WINAPI*)(int);
  using Get = int(WINAPI*)();
  const auto set = entryPoint<Set>(lookUp, "wglSwapIntervalEXT");
  const auto get = entryPoint<Get>(lookUp, "wglGetSwapIntervalEXT");
  if (set != nullptr && set(interval)) {
    control = {"WGL_EXT_swap_control", get != nullptr ? get() : -1};
  }
#elif !defined(__APPLE__)
  control = setThroughGlx(interval, lookUp);
#else
  (void)lookUp;  // no swap control is offered there
#endif
  if (control.extension.empty()) {
    *problem = "this display offers no way to set the swap interval; swapping as it does";
  } else if (control.obtained >= 0 && control.obtained != interval) {
    *problem = "this display swaps every " + std::to_string(control.obtained) + " refreshes, not " +
               std::to_string(interval);
  } else {
    problem->clear();
  }
  return control;
}
