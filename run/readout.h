// What the readout of --hud says: each switch of the key table with its key and state, the
// counts, spin rates and view angles, each light's number in its colour (grey when off), the
// frame number and, where the run shows it, the frame rate. Pure: render/ draws it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/hud.h"
#include "scene/scene_state.h"

// What the readout shows beyond the scene state.
struct HudFigures {
  std::int64_t frame = 0;         // the number of the frame being drawn, from 1
  double framesPerSecond = -1.0;  // the last measured rate; negative: not shown
  std::string map;                // the map shown while stepping through several; "": none
};

HudText readoutText(const SceneState& state, const HudFigures& figures);
