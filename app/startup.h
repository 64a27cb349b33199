// Start-up pieces that main calls in order: the window, then the GL state that never changes.
#pragma once

inline constexpr int kWindowX = 10;
inline constexpr int kWindowY = 60;
inline constexpr int kWindowWidth = 620;
inline constexpr int kWindowHeight = 160;
inline constexpr char kWindowTitle[] = "Velkarin - lighting";
inline constexpr char kEnvironmentMapFile[] = "env.ppm";

// Initialises GLUT (which takes its own command-line options out of argc/argv) and opens the
// double-buffered, depth-buffered window; its GL context is current afterwards.
void openViewerWindow(int* argc, char** argv);

// GL state that needs the window's context.
void initGraphics();

// Culled face, lighting switches and the light colours: set once, never touched per frame.
void initFixedState();
