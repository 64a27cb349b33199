// The window's title in UTF-8, as a map's name may need: GLUT sets it in the platform's legacy
// encoding (X's Latin-1 WM_NAME, Windows' code page), so the viewer sets what GLUT cannot.
#pragma once

#include <string>

// Titles the current window `utf8`: on X, WM_NAME in Latin-1 or compound text as Xlib converts
// it and _NET_WM_NAME as UTF8_STRING, which window managers prefer; on Windows, in UTF-16.
void setWindowTitle(const std::string& utf8);
