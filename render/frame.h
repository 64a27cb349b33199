// The frame renderer: GLUT's display and idle callback, also called directly by keys that
// want their change on screen at once.
#pragma once

// Draws one whole frame from the scene state, first advancing the animation when it is on.
void renderFrame();

// The small yellow tetrahedron just outside the torus, drawn on the current model-view matrix;
// its translate and scale stay applied.
void drawTetraMarker();
