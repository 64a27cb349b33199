// Start-up up to the environment map, in the order the viewer depends on: GLUT and the window,
// the depth test, the first projection, the keyboard, reshape and mouse callbacks, then the
// fixed lighting state.
#pragma once

inline constexpr int kWindowX = 10;
inline constexpr int kWindowY = 60;
inline constexpr int kWindowWidth = 620;
inline constexpr int kWindowHeight = 160;
inline constexpr char kWindowTitle[] = "Velkarin - lighting";

// GLUT takes its own command-line options out of argc/argv. The window's GL context is current
// afterwards. Used by the viewer, its GL tests and its benchmarks alike.
void openViewer(int* argc, char** argv);

// GL state that needs the window's context.
void initGraphics();
