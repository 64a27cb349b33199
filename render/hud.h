// The on-screen readout of --hud: every switch of the key table with its key, the counts, spin
// rates and view angles, each light's state in its colour, the frame number and, where the run
// is not scripted, the frame rate. Two boxes, at the window's left and right edges, clear of
// the torus and its marker at any window size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scene/scene_state.h"

// What the readout shows beyond the scene state.
struct HudFigures {
  std::int64_t frame = 0;         // the number of the frame being drawn, from 1
  double framesPerSecond = -1.0;  // the last measured rate; negative: not shown
};

// The readout's lines as text: the switches' box, then the figures' box.
std::vector<std::string> hudLines(const SceneState& state, const HudFigures& figures);

// Draws the font into a texture, through the back buffer: once, before the first frame, which
// clears it. Needs a current GL context.
void prepareHud();

// Draws the readout over the frame in the back buffer, leaving every GL state as it found it.
void drawHud(const SceneState& state, const HudFigures& figures);
