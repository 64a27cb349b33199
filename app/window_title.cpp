#include "app/window_title.h"

#include "render/glut_headers.h"

#if defined(_WIN32)

#include <vector>

void setWindowTitle(const std::string& utf8) {
  glutSetWindowTitle(utf8.c_str());
  const HWND window = WindowFromDC(wglGetCurrentDC());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  if (window == nullptr || length <= 0) {
    return;
  }
  std::vector<wchar_t> wide(static_cast<std::size_t>(length));
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), length);
  SetWindowTextW(window, wide.data());
}

#elif defined(__APPLE__)

void setWindowTitle(const std::string& utf8) {
  glutSetWindowTitle(utf8.c_str());
}

#else

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "app/x_window.h"

void setWindowTitle(const std::string& utf8) {
  glutSetWindowTitle(utf8.c_str());  // keeps GLUT's own record of the title
  const auto [display, window] = currentXWindow();
  if (display == nullptr) {
    return;
  }
  // Xlib's conversion takes non-const strings but only reads them.
  char* text = const_cast<char*>(utf8.c_str());
  XTextProperty legacy{};
  if (Xutf8TextListToTextProperty(display, &text, 1, XStdICCTextStyle, &legacy) == Success) {
    XSetWMName(display, window, &legacy);
    XFree(legacy.value);
  }
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                  XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.data()),
                  static_cast<int>(utf8.size()));
  XFlush(display);
}

#endif
