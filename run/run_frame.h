// The frames of a run beyond the viewer's plain loop: each drawn, with the readout where asked,
// swapped, counted, saved, and the last one ending the run.
#pragma once

#include "run/run_state.h"
#include "scene/scene_state.h"

#include <functional>

// Whether a full-screen run still waits for its window to fill the screen; it draws nothing
// until then, so that its first counted frame fills it.
bool waitingForFullScreen(RunState& run);

// Does `work`, a part of keeping a picture (its read-back, its writing), timed: the run's clock
// and its frame times leave that time out; the results give it on its own.
void timeAsPicture(RunState& run, const std::function<void()>& work);

// Every frame of the run, whether idle or drawn at once by a key or a drag.
void drawRunFrame(RunState& run, SceneState& scene);

// A frame drawn at once, as a key or a drag asks: renderFrame, or the run's frame; in a scripted
// run waiting for a map, owed until the map is in.
void drawFrameNow(RunState& run, SceneState& scene);
