// The frame renderer: GLUT's display and idle callback, also called at once, through the run,
// for an input that wants its change on screen now.
#pragma once

// Draws one whole frame from the scene state, first advancing the animation when it is on,
// and shows it.
void renderFrame();

// Draws the whole scene, advancing the animation as renderFrame does, into the back buffer,
// up to and with the marker: renderFrame then flushes and swaps; a run may draw its readout
// over it first, and read its last frame back before it swaps.
void drawScene();

// The small yellow tetrahedron just outside the torus, drawn on the current model-view matrix;
// its translate and scale stay applied.
void drawTetraMarker();
