// What a run is asked to do beyond the viewer's plain loop (--keys, --frames, --screenshot,
// --frame-rate, --record, --replay, --fps, --hud, --samples, --results, --swap-interval), read
// once from the command line,
// and the small steps that carry it out frame by frame. Pure: the run presses the keys, draws,
// sleeps and saves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input/key_script.h"

inline constexpr int kMaxFrameRate = 1000;

struct RunPlan {
  std::vector<ScriptKey> keys;  // pressed one per frame, from the first frame on
  int frames = 0;               // frames to draw before exiting with status 0; 0: no end
  std::string screenshot;       // where the last frame is saved as a PNG; empty: nowhere
  bool everyFrame = false;      // the screenshot's name numbers the frames: each is saved
  int frameRate = 0;            // at most this many frames a second; 0: as fast as they come
  std::string record;           // where the session is kept; empty: nowhere
  std::string replay;           // the kept session to replay; empty: none
  bool fps = false;             // frame-rate lines every five seconds and for the whole run
  bool hud = false;             // the readout over every frame
  int samples = 0;              // smooth edges with this many samples a pixel; 0: none
  std::string results;          // where the run's figures are written as JSON; empty: nowhere
  int swapInterval = -1;        // refreshes a swap waits for; negative: as the driver sets it
  bool fullscreen = false;      // the window fills the screen
  std::vector<std::string> commandLine;  // the whole of it, as the results file records it
};

// Whether the run asks for more than the plain loop's frames until Escape, and so draws its
// frames itself: a readout and smooth edges too.
bool drawsItsOwnFrames(const RunPlan& plan);

struct RunProgress {
  std::size_t keysPressed = 0;
  std::int64_t framesDrawn = 0;  // 64 bits: no run lasts long enough to wrap it
};

// The key to press before the next idle frame, or nullptr once the script is done.
const ScriptKey* takeNextKey(const RunPlan& plan, RunProgress& progress);

// Whether the frame about to be drawn is the run's last.
bool isLastFrame(const RunPlan& plan, const RunProgress& progress);

// Counts a frame drawn.
void countDrawnFrame(RunProgress& progress);

// The number of the frame about to be drawn, as the readout shows it: 1 for the first.
std::int64_t frameNumberShown(const RunProgress& progress);

// The pace of --frame-rate: frames are due on a fixed grid of times from the first one on, so
// that sleeping until each is due does not drift.
struct Pace {
  double next = 0.0;  // when the next frame is due, in seconds
  bool started = false;
};

// How far behind its grid a paced run may fall and still catch up: a late frame is drawn at
// once and the grid holds, so a busy moment does not push every later frame back. A longer
// stall (a stopped process, a suspended machine) starts a new grid instead of a burst.
inline constexpr double kMostCatchUpSeconds = 0.25;

// When a frame asked for at `now` (seconds) may be drawn, at `rate` frames a second: never
// before now, and on the grid from the first frame unless more than kMostCatchUpSeconds late.
double frameDue(Pace& pace, int rate, double now);
