#pragma once

inline constexpr double kFieldOfViewDegrees = 60.0;
inline constexpr double kNearPlane = 1.0;
inline constexpr double kFarPlane = 30.0;

// GLUT reshape callback: viewport and perspective projection follow the window size.
void onReshape(int width, int height);
