// The run's side of its maps: the maps answer whether the one asked for is in, and the run
// acts. A scripted run (--frames, --keys, --replay) waits for every map, so that its pictures
// are the same on every run; a person's run never waits for one: it keeps drawing the map it
// shows, and shows the one asked for once the worker has read it.
#pragma once

#include "run/run_state.h"
#include "scene/scene_state.h"

// How long a scripted run waits for a map at a time before it lets the loop take input.
inline constexpr double kMapWaitSeconds = 0.01;
// How often a person's run looks whether the map asked for is in.
inline constexpr unsigned kMapAwaitedMs = 10;

// The map asked for, shown if it is in within `waitSeconds`; the tex = N line said once the
// first map is shown or none can be. Whether another map is shown now.
bool settleRunMaps(RunState& run, SceneState& scene, double waitSeconds);

// Says "tex = N" for the scene's texture, once, when no map is still awaited: at start for
// ./env.ppm, once the first map named is shown (or none can be) otherwise.
void sayTexture(RunState& run, SceneState& scene);

// What the maps answer, acted on: their shown texture set as the scene's, and the map's name and
// place in the window's title.
void showMapsAnswer(RunState& run, SceneState& scene);

// The timer that watches the shown map's file and the folders named, and in a person's run
// shows the map asked for once it is in; the loop of the window's room runs it. Starts the
// watch, and returns the milliseconds until the timer first wakes: 0 for none (a --frames or
// --replay run, or no map named).
unsigned startMapWatch(RunState& run);

// The timer's turn: returns the milliseconds until the next.
unsigned mapTimerTick(RunState& run, SceneState& scene);

// A step was asked in a person's run: the timer is to look for the map at once, not at its
// next look. Whether one was asked since the last call.
void hurryMapTimer(RunState& run);
bool takeMapsHurried(RunState& run);

// A scripted run's map, waited for between frames a little at a time, so that GLUT's loop
// still takes Escape and the window's close meanwhile, and a signal still ends the run; once
// it is in, the frame a key owed is drawn. Whether the run may go on with its frame.
bool scriptedMapIsIn(RunState& run, SceneState& scene);

// Whether the run waits for a map before it takes more input or draws.
bool waitsForMap(const RunState& run);
