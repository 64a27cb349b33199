// The GL tests share one real GLUT window, opened as the viewer opens its own.
#pragma once

#include "app/scene_state.h"

// Restores the initial scene state, with the animation switched off so frames are repeatable.
void resetScene();

// Lets the window system deliver pending events (map, expose) to the test window.
void pumpEvents();

// Reads one pixel of the frame renderFrame last showed; x, y from the
// bottom-left, as GL counts.
struct Rgb {
  int r, g, b;
};
Rgb shownPixel(int x, int y);
