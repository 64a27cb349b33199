// What the command line asks of the window beyond its usual size and place.
#pragma once

struct WindowRequest {
  bool fullscreen = false;
  bool iconic = false;         // GLUT's -iconic, which the viewer carries out itself
  bool indirect = false;       // GLUT's -indirect
  bool sizeGiven = false;      // GLUT's -geometry names a width and height
  bool positionGiven = false;  // GLUT's -geometry names a position
};
