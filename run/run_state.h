// The one record of the viewer's run, as SceneState is the scene's: the drag and the maps of
// every run, and all that a run beyond the plain loop (a scripted, paced, counted, kept or
// replayed run, or one with a readout or smooth edges) keeps from frame to frame. The run's
// files own it and hand its parts on by reference; nothing else reads it.
#pragma once

#include <csignal>
#include <cstddef>
#include <string>
#include <vector>

#include "files/output_file.h"
#include "input/mouse.h"
#include "maps/map_list.h"
#include "render/hud.h"
#include "render/smooth_edges.h"
#include "render/swap_interval.h"
#include "run/frame_counter.h"
#include "run/frame_times.h"
#include "run/run_plan.h"
#include "run/session.h"
#include "run/window_calls.h"

// What GL and the window are, as the results file gives them.
struct ContextFacts {
  std::string vendor, renderer, version;
  int width = 0;
  int height = 0;
};

// Where the kept session stands: not asked for, waiting for the first frame (its events held
// until then), written as the run goes, or stopped by a write that failed.
enum class Recording { Off, Pending, Writing, Stopped };

// Where a frame of a run that draws its own stands, so that one held back while a map is
// awaited goes on where it stopped: the replayed events due, the script's key, the drawing.
enum class FrameStep { Replayed, Key, Draw };

struct RunState {
  RunPlan plan;
  WindowCalls window;      // what the window's room does for the run
  bool ownFrames = false;  // the run draws the frames; else renderFrame does, as in the plain loop
  bool scripted = false;   // --frames, --keys or --replay: every map is waited for, so that
                           // its pictures are the same on every run
  FrameStep frameStep = FrameStep::Replayed;
  bool frameOwed = false;    // a key's frame, held back until the map it asked for is shown
  bool textureSaid = false;  // the tex = N line is out
  bool mapsHurried = false;  // a person stepped: the map timer is to look at once
  std::string title;         // the window's title as last set
  RunProgress progress;
  Pace pace;
  FrameCounter fpsCounter;
  FrameCounter hudCounter;            // the readout's own, so that --fps keeps its count
  double prepared = 0.0;              // when the run was prepared, before its window opened
  std::string startedAt;              // the same moment on the calendar, ISO 8601 with the zone
  double started = -1.0;              // when the first frame began; negative until then
  double pictureSeconds = 0.0;        // spent writing pictures, which the run's clock leaves out
  double pictureSinceSwap = 0.0;      // of that, since the last swap
  double lastShown = -1.0;            // when the last frame was swapped; negative until then
  FrameTimes runTimes;                // every frame's time, for the whole run's figures
  FrameTimes intervalTimes;           // those of the --fps line's five seconds
  Maps maps;                          // those shown, with their textures and their reader
  std::vector<std::string> keptMaps;  // their full paths, as a kept session names them; none
                                      // for the default ./env.ppm
  SwapControl swap;
  SmoothEdges smooth;  // --samples
  Readout readout;     // --hud
  OutputFile picture;
  bool pictureFailed = false;  // a numbered picture could not be written: no more are saved
  OutputFile resultsFile;
  ContextFacts context;  // GL's and the window's, for the results file
  OutputFile record;     // open while the session is kept
  Recording recording = Recording::Off;
  std::string recordPending;  // the events before the first frame, while the file waits
  Drag drag;                  // the left button's, from its press to its release
  Session replayed;
  std::size_t eventsReplayed = 0;
  bool awaitingFullScreen = false;
  double fullScreenDeadline = 0.0;
  std::string xError;    // what the X server refused, noted by Xlib's handler, acted on by a frame
  bool looping = false;  // GLUT's loop runs the frames: a noted X error can wait for the next
  bool resting = false;  // a person's run whose window is hidden draws nothing
  bool exiting = false;  // the process is ending: freeglut's closing of the window is no person's
};

// Seconds on a steady clock.
double secondsNow();

// The whole run's seconds: from its first frame to its last swap (to the end of the last
// frame's period, for a paced run), drawing and swapping only, the pictures' writing left out;
// the frame-rate line and the results give this one figure. 0 for a run stopped before it drew.
double runSeconds(const RunState& run);
