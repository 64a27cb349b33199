// The window's class, by which window managers and desktop entries tell the viewer's windows
// from others'.
#pragma once

inline constexpr char kWindowClassName[] = "velkarin";
inline constexpr char kWindowClass[] = "Velkarin";

// Names the current GLUT window's class (X11's WM_CLASS), and the process and machine it
// belongs to (_NET_WM_PID, WM_CLIENT_MACHINE), which GLUT leaves unset. Nothing where windows
// have no such properties.
void nameWindowClass();
