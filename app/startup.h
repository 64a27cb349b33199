// Start-up up to the environment map, in the order the viewer depends on: GLUT and the window,
// the depth test, the first projection, the keyboard, reshape and mouse callbacks, then the
// fixed lighting state.
#pragma once

#include "app/options.h"
#include "run/run_state.h"
#include "scene/scene_state.h"

inline constexpr int kWindowX = 10;
inline constexpr int kWindowY = 60;
inline constexpr int kWindowWidth = 620;
inline constexpr int kWindowHeight = 160;

// GLUT takes its own command-line options out of argc/argv. The window's GL context is current
// afterwards, and the window's callbacks act on `run` and `scene`. Used by the viewer, its GL
// tests and its benchmarks alike, each with records of its own. A full-screen or iconic window
// is asked of GLUT once the window exists.
void openViewer(int* argc, char** argv, RunState& run, SceneState& scene,
                const WindowRequest& window = {});

// GL state that needs the window's context.
void initGraphics();

// --info: the GL vendor, renderer and version, a line each, on standard output.
void printGlInfo();
