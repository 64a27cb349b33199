#include "tests/support/x11_window.h"

#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>

namespace {

// The process id of the client that made `window`, as the server knows it (X-Resource): unlike
// a window property, it is there whatever the toolkit sets. -1 when the server cannot tell.
long windowPid(Display* display, Window window) {
  XResClientIdSpec spec{window, XRES_CLIENT_ID_PID_MASK};
  long count = 0;
  XResClientIdValue* values = nullptr;
  long pid = -1;
  if (XResQueryClientIds(display, 1, &spec, &count, &values) == Success) {
    for (long i = 0; i < count && pid < 0; ++i) {
      pid = XResGetClientPid(&values[i]);
    }
    XResClientIdsDestroy(count, values);
  }
  return pid;
}

Window searchTree(Display* display, Window parent, const std::string& title, long pid) {
  char* name = nullptr;
  if (XFetchName(display, parent, &name) != 0 && name != nullptr) {
    const bool match = title == name;
    XFree(name);
    if (match && windowPid(display, parent) == pid) {
      return parent;
    }
  }
  Window root = 0;
  Window ignored = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, parent, &root, &ignored, &children, &count) != 0) {
    for (unsigned int i = 0; i < count && found == 0; ++i) {
      found = searchTree(display, children[i], title, pid);
    }
    if (children != nullptr) {
      XFree(children);
    }
  }
  return found;
}

int shiftOf(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

void sendKey(Display* display, KeyCode code, bool shifted) {
  const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
  if (shifted)
    XTestFakeKeyEvent(display, shift, True, CurrentTime);
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  if (shifted)
    XTestFakeKeyEvent(display, shift, False, CurrentTime);
  XSync(display, False);
}

void focus(Display* display, Window window) {
  XRaiseWindow(display, window);
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  XSync(display, False);
}

}  // namespace

Window findWindowByTitle(Display* display, const std::string& title, long pid, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const Window window = searchTree(display, DefaultRootWindow(display), title, pid);
    if (window != 0) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display, window, &attributes) != 0 &&
          attributes.map_state == IsViewable) {
        return window;
      }
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

WindowGeometry windowGeometry(Display* display, Window window) {
  XWindowAttributes attributes;
  XGetWindowAttributes(display, window, &attributes);
  int x = 0;
  int y = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  return {x, y, attributes.width, attributes.height};
}

RgbImage captureWindow(Display* display, Window window) {
  const WindowGeometry geometry = windowGeometry(display, window);
  RgbImage shot;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(geometry.width),
                            static_cast<unsigned>(geometry.height), AllPlanes, ZPixmap);
  if (image == nullptr) {
    return shot;
  }
  shot.width = geometry.width;
  shot.height = geometry.height;
  shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
  const int shifts[3] = {shiftOf(image->red_mask), shiftOf(image->green_mask),
                         shiftOf(image->blue_mask)};
  const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const unsigned long value = XGetPixel(image, x, y);
      for (int c = 0; c < 3; ++c) {
        shot.rgb[(y * shot.width + x) * 3 + c] =
            static_cast<unsigned char>((value & masks[c]) >> shifts[c]);
      }
    }
  }
  XDestroyImage(image);
  return shot;
}

void typeKeys(Display* display, Window window, const std::string& keys) {
  for (char key : keys) {
    const char name[2] = {key, '\0'};
    typeKeySym(display, window, XStringToKeysym(name));
  }
}

void typeKeySym(Display* display, Window window, unsigned long keysym) {
  focus(display, window);
  // Capital letters share their key with the small ones and need Shift held.
  const bool capital = keysym >= XK_A && keysym <= XK_Z;
  const unsigned long base = capital ? keysym - XK_A + XK_a : keysym;
  sendKey(display, XKeysymToKeycode(display, base), capital);
}

void dragPointer(Display* display, Window window, unsigned button, int fromX, int fromY, int toX,
                 int toY) {
  constexpr int kSteps = 10;
  focus(display, window);
  const WindowGeometry geometry = windowGeometry(display, window);
  const int screen = DefaultScreen(display);
  XTestFakeMotionEvent(display, screen, geometry.x + fromX, geometry.y + fromY, CurrentTime);
  XTestFakeButtonEvent(display, button, True, CurrentTime);
  for (int step = 1; step <= kSteps; ++step) {
    const int x = fromX + (toX - fromX) * step / kSteps;
    const int y = fromY + (toY - fromY) * step / kSteps;
    XTestFakeMotionEvent(display, screen, geometry.x + x, geometry.y + y, CurrentTime);
  }
  XTestFakeButtonEvent(display, button, False, CurrentTime);
  XSync(display, False);
}

std::string windowClass(Display* display, Window window) {
  XClassHint hint{};
  if (XGetClassHint(display, window, &hint) == 0) {
    return "";
  }
  const std::string name = std::string(hint.res_name) + "." + hint.res_class;
  XFree(hint.res_name);
  XFree(hint.res_class);
  return name;
}

void closeWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}
