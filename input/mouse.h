// Dragging with the left button turns the scene about the vertical axis (horizontal motion)
// and tilts it about the horizontal axis (vertical motion), through the same view angles the
// z/Z and x/X keys change. Pure: the GLUT callbacks draw when the angles change.
#pragma once

#include "scene/scene_state.h"

// Pixels of pointer motion per degree: a drag across the 620-pixel window turns the scene by
// 310 degrees, one down its 160 pixels tilts it by 80.
inline constexpr int kPixelsPerDegree = 2;

struct Drag {
  bool active = false;
  int lastX = 0;
  int lastY = 0;
  int pendingX = 0;  // motion not yet worth a whole degree
  int pendingY = 0;
};

void beginDrag(Drag& drag, int x, int y);
void endDrag(Drag& drag);

// Follows an active drag to (x, y), adding the whole degrees it is worth to the view angles.
// Returns whether they changed.
bool dragTo(Drag& drag, SceneState& state, int x, int y);
