#include "run/run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "files/complaint.h"
#include "files/file_name.h"
#include "maps/maps.h"
#include "render/frame.h"
#include "render/smooth_edges.h"
#include "render/swap_interval.h"
#include "run/exit_status.h"
#include "run/kept_session.h"
#include "run/machine.h"
#include "run/results.h"
#include "run/run_end.h"
#include "run/run_files.h"
#include "run/run_frame.h"
#include "run/run_input.h"
#include "run/run_maps.h"
#include "run/run_state.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

RunState run;

namespace {

// How long a full-screen run waits for the window to fill the screen before drawing anyway.
constexpr double kFullScreenWaitSeconds = 5.0;
// How often a paced run wakes between frames to see whether a signal has asked it to stop.
constexpr double kSignalCheckSeconds = 0.1;

// The replayed events due before this frame, then the script's next key, then the frame. A
// scripted run whose input asked for a map not read yet stops where it is and goes on there
// once the map is in, so that its frames are those of a run that never waited.
void onRunFrame() {
  stopIfAsked();
  if (waitingForFullScreen() || !scriptedMapIsIn()) {
    return;
  }
  if (run.frameStep == FrameStep::Replayed) {
    while (const InputEvent* event = takeReplayedEvent()) {
      takeInput(*event);
      if (waitsForMap()) {
        return;
      }
    }
    run.frameStep = FrameStep::Key;
  }
  if (run.frameStep == FrameStep::Key) {
    run.frameStep = FrameStep::Draw;
    if (const ScriptKey* key = takeNextKey(run.plan, run.progress)) {
      takeInput({0, InputKind::Key, *key});
      if (waitsForMap()) {
        return;
      }
    }
  }
  run.frameStep = FrameStep::Replayed;
  drawRunFrame();
}

// A paced run's idle frames: GLUT's timer wakes it when the next frame is due (or to look for
// a signal), and between times GLUT waits for input, which is handled as soon as it comes.
void onPaceTimer(int) {
  stopIfAsked();
  constexpr double kTimerResolution = 0.001;  // GLUT's timer counts whole milliseconds
  const bool due = !run.pace.started || run.pace.next - secondsNow() < kTimerResolution;
  if (due && !run.resting) {
    onRunFrame();
  }
  const double most = waitsForMap() ? kMapWaitSeconds : kSignalCheckSeconds;
  const double wait = std::clamp(run.pace.started ? run.pace.next - secondsNow() : 0.0, 0.0, most);
  glutTimerFunc(static_cast<unsigned>(wait * 1000.0), onPaceTimer, 0);
}

// The frame GLUT draws whenever it is idle: renderFrame in the plain loop, the run's own frame
// otherwise, and none for a paced run, whose frames its timer brings.
using FrameRoutine = void (*)();
FrameRoutine idleFrame() {
  if (!run.ownFrames) {
    return renderFrame;
  }
  return run.plan.frameRate > 0 ? nullptr : onRunFrame;
}

// While a person's run rests, a signal or an X error is still looked for as often as a paced
// run looks between its frames; and the window is asked where it is, a request the server
// answers, so that a window destroyed under the run (which GLUT reports as hidden) ends it as
// its next frame's requests would have.
void onRestTimer(int) {
  stopIfAsked();
  if (run.resting) {
    glutGet(GLUT_WINDOW_X);
    glutTimerFunc(static_cast<unsigned>(kSignalCheckSeconds * 1000.0), onRestTimer, 0);
  }
}

// A person's run draws nothing while its window is hidden (iconified, or covered whole): no
// frame that nobody sees takes a core. GLUT's idle frames stop, and start again when it shows.
// A paced run's timer skips its frames meanwhile. A --frames, --keys or --replay run counts its
// frames on, as its pictures and its end depend on them.
void onWindowStatus(int state) {
  const bool hidden = state == GLUT_HIDDEN || state == GLUT_FULLY_COVERED;
  if (hidden == run.resting) {
    return;
  }
  run.resting = hidden;
  glutIdleFunc(hidden ? nullptr : idleFrame());
  if (hidden) {
    glutTimerFunc(static_cast<unsigned>(kSignalCheckSeconds * 1000.0), onRestTimer, 0);
  }
}

void restWhileHidden() {
#ifdef FREEGLUT
  if (!run.scripted) {
    glutWindowStatusFunc(onWindowStatus);
  }
#endif
}

// The run's text lines (tex = N, the frame rates) go to standard error when standard output
// carries the picture or the kept session, so that nothing else is mixed into it.
void keepStandardOutputForTheRunsFile() {
  if (takesStandardOutput(run.picture) || takesStandardOutput(run.record) ||
      takesStandardOutput(run.resultsFile)) {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
  }
}

// Smooth edges, the swap interval and the readout, set up once the window's context exists.
void prepareDrawing() {
  if (run.plan.samples > 0) {
    if (const std::string word = startSmoothEdges(run.smooth, run.plan.samples); !word.empty()) {
      complain(word);
    }
  }
  if (run.plan.swapInterval >= 0) {
    std::string problem;
    run.swap = setSwapInterval(run.plan.swapInterval, &problem);
    if (!problem.empty()) {
      complain(problem);
    }
  }
  if (!run.plan.results.empty()) {
    noteResultsContext();
  }
  if (run.plan.hud) {
    prepareHud(run.readout);
  }
}

// Every map by its full path, as a kept session names them.
std::vector<std::string> fullPaths(const std::vector<std::string>& maps) {
  std::vector<std::string> full;
  for (const std::string& map : maps) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(pathOf(map), error);
    full.push_back(error ? map : nameOf(path.lexically_normal()));
  }
  return full;
}

// The maps named, or, where none is, those a replayed session was kept with; a session kept
// with other maps than those named is replayed with those named, and says so.
void findRunMaps(const std::vector<std::string>& named) {
  const std::vector<std::string>& kept = run.replayed.maps;
  findMaps(run.maps, named.empty() ? kept : named);
  const bool mapsNamed = !named.empty() || !kept.empty();
  run.keptMaps = mapsNamed ? fullPaths(mapFiles(run.maps)) : std::vector<std::string>{};
  if (!named.empty() && !kept.empty() && kept != run.keptMaps) {
    complain(run.plan.replay, "kept with other maps; replayed with those named");
  }
}

}  // namespace

int prepareRun(const RunPlan& plan, const std::vector<std::string>& namedMaps) {
  run.plan = plan;
  run.prepared = secondsNow();
  run.startedAt = calendarNow();
  run.ownFrames = drawsItsOwnFrames(plan);
  run.scripted = plan.frames > 0 || !plan.keys.empty() || !plan.replay.empty();
  if (const int status = prepareSessions(); status >= 0) {
    return status;
  }
  findRunMaps(namedMaps);
  if (const FileClash clash = fileOptionsClash(); !clash.file.empty()) {
    complain(clash.file, "both read and written, or written twice, by this run (" + clash.options +
                             "); each file it writes needs one of its own");
    return statusCode(ExitStatus::Usage);
  }
  if (const int status = openRunFiles(); status >= 0) {
    return status;
  }
  keepStandardOutputForTheRunsFile();
  if (run.ownFrames) {
    catchStopSignals();
  }
  return -1;
}

void beginRun(bool fullscreen) {
  startMapTimer();
  run.looping = true;
  restWhileHidden();
  if (!run.ownFrames) {
    glutIdleFunc(idleFrame());
    glutDisplayFunc(renderFrame);
    return;
  }
  prepareDrawing();
  if (!run.plan.record.empty()) {
    startRecord();
  }
  if (run.plan.frames > 0) {
    watchWindowClose();
  }
  if (fullscreen) {
    run.awaitingFullScreen = true;
    run.fullScreenDeadline = secondsNow() + kFullScreenWaitSeconds;
  }
  if (run.plan.frameRate > 0) {
    glutTimerFunc(0, onPaceTimer, 0);
  }
  glutIdleFunc(idleFrame());
  glutDisplayFunc(onRunFrame);
}

GLuint loadRunMaps() {
  return loadEnvironmentMap(run.maps);
}
