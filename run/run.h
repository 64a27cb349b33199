// The viewer's run, from its plan to its first frame. A run that asks for more than the plain
// loop's frames until Escape (--fps, --keys, --frames, --screenshot, --frame-rate, --record,
// --replay, --hud, --samples, --results or --swap-interval) draws its own frames: counted,
// paced, keyed, read back and kept as the plan says. Without any of these the viewer's plain
// loop runs untouched.
#pragma once

#include "run/run_state.h"
#include "scene/scene_state.h"

#include <string>
#include <vector>

#include "run/exit_status.h"
#include "run/run_plan.h"
#include "run/window_calls.h"

// What a run needs before its window opens: the session to replay, the maps (those named, or
// else those the replayed session names, or else ./env.ppm), no two file options naming one
// file, and the files it writes checked, so that a name that can never be written is refused
// before anything is drawn; and, for a run with a frame budget or a kept session, the signals
// that end it with a word of what was drawn. None to go on, or the status to exit with after
// saying why on standard error.
Outcome prepareRun(RunState& run, SceneState& scene, const RunPlan& plan,
                   const std::vector<std::string>& namedMaps);

// The window's calls, handed down by the room that owns it, once it is open.
void useWindow(RunState& run, const WindowCalls& window);

// Sets up what the run's own frames need once the window is open: smooth edges, the swap
// interval, the readout, the kept session, the wait for a full screen.
void beginRun(RunState& run, bool fullscreen);

// The loop that runs the frames belongs to the window's room; these are what it calls.

// What the loop draws when idle: the plain frame, the run's own, or none (a paced run, whose
// frames its timer brings; a person's run whose window is hidden).
enum class IdleFrame { None, Plain, Run };
IdleFrame idleFrame(const RunState& run);

// The plain loop's frame: drawn and shown.
void plainFrame(RunState& run, SceneState& scene);

// The run's own frame: the replayed events due, the script's next key, then the frame.
void runFrame(RunState& run, SceneState& scene);

// A paced run's timer: the frame when it is due; the seconds until the timer is to wake again,
// for the next frame or to look for a signal.
bool pacesItsFrames(const RunState& run);
double paceTick(RunState& run, SceneState& scene);

// A person's run draws nothing while its window is hidden (iconified, or covered whole): no
// frame that nobody sees takes a core. Whether the run rests so; whether `hidden` changes
// what it does (its idle frame, and the rest timer to start).
bool restsWhileHidden(const RunState& run);
bool windowHidden(RunState& run, bool hidden);

// How often the loop asks the window where it is, so that a window destroyed under the run ends
// it, and looks for a signal, as a paced run looks between its frames.
double windowLookSeconds();

// Whether a window closed by a person ends the run (status 1), as a run with a frame budget does.
bool watchesWindowClose(const RunState& run);

// Once the window is open: ./env.ppm read into the scene's image buffer and its texture made the
// scene's, or the first map named asked for from the worker.
void loadRunMaps(RunState& run, SceneState& scene);
