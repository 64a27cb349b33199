// Dragging with the left button turns the scene about the vertical axis (horizontal motion)
// and tilts it about the horizontal axis (vertical motion), through the same view angles the
// z/Z and x/X keys change. Pure: the run draws when the angles change.
#pragma once

#include "scene/scene_state.h"

// Pixels of pointer motion per degree: a drag across the 620-pixel window turns the scene by
// 310 degrees, one down its 160 pixels tilts it by 80.
inline constexpr int kPixelsPerDegree = 2;

// Where a pointer can be relative to a window: X and Windows both carry a position in 16 signed
// bits. A kept session's positions are held to the same bounds when it is read.
inline constexpr int kLeastPointer = -32768;
inline constexpr int kMostPointer = 32767;

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
// Both positions lie from kLeastPointer to kMostPointer. Returns whether the angles changed.
bool dragTo(Drag& drag, SceneState& state, int x, int y);
