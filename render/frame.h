// The frame renderer: GLUT's display and idle callback, also called directly by keys that
// want their change on screen at once.
#pragma once

// Draws one whole frame from the scene state, first advancing the animation when it is on,
// and shows it.
void renderFrame();

// renderFrame but for showing it: the frame is drawn and flushed into the back buffer, where it
// can be read before the buffers are swapped.
void drawFrame();

// The small yellow tetrahedron just outside the torus, drawn on the current model-view matrix;
// its translate and scale stay applied.
void drawTetraMarker();
