// The GL tests share one real GLUT window, opened as the viewer opens its own.
#pragma once

#include <string>
#include <vector>

#include "run/run_state.h"
#include "scene/scene_state.h"

// The GL tests' own records, which the window's callbacks act on too.
extern RunState run;
extern SceneState scene;

// Restores the initial scene state, with the animation switched off so frames are repeatable.
void resetScene();

// Lets the window system deliver pending events (map, expose) to the test window.
void pumpEvents();

// The frame renderFrame last showed, as RGB rows from the bottom, as GL counts.
std::vector<unsigned char> shownImage();

// One pixel of it; x, y from the bottom-left.
struct Rgb {
  int r, g, b;
};
Rgb shownPixel(int x, int y);

// The window's title as the X server holds it.
std::string windowTitle();
