#include "run/kept_session.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "files/complaint.h"
#include "run/input_handling.h"
#include "run/run_state.h"
#include "run/session_file.h"

namespace {

constexpr int kBadSessionStatus = 2;

// However the run ends, the session's last line says how many frames it drew.
void finishRecord() {
  if (run.record.fd >= 0) {
    appendToOutputFile(run.record, sessionEnd(run.progress.framesDrawn));
  }
}

}  // namespace

int prepareSessions() {
  RunPlan& plan = run.plan;
  if (!plan.replay.empty()) {
    if (std::string problem = readSessionFile(plan.replay, &run.replayed); !problem.empty()) {
      complain(plan.replay, problem);
      return kBadSessionStatus;
    }
    if (run.replayed.cutShort) {
      complain(plan.replay, "cut short (no end line): replayed up to its last event");
    }
    if (plan.frames == 0) {
      plan.frames = static_cast<int>(std::clamp<std::int64_t>(run.replayed.frames, 1, INT_MAX));
    }
  }
  if (!plan.record.empty()) {
    if (std::string problem = openOutputFile(plan.record, &run.record); !problem.empty()) {
      complain(plan.record, problem);
      return kCannotWriteStatus;
    }
  }
  return -1;
}

// The kept session's file is replaced only now that the run has begun: a run that never
// opened its window leaves an old session as it was.
void startRecord() {
  if (std::string problem = startOutputFile(run.record, sessionHeader()); !problem.empty()) {
    complain(run.plan.record, problem);
    std::exit(kCannotWriteStatus);
  }
  std::atexit(finishRecord);  // after glutInit's: runs before freeglut closes its window
}

// An event that cannot be kept (a full disk) is taken back, so the file ends with the last
// whole event, as a killed run's does, and the session is kept no further.
void recordInput(InputEvent event) {
  if (run.record.fd < 0) {
    return;
  }
  event.frame = run.progress.framesDrawn;
  const std::string problem = appendToOutputFile(run.record, sessionLine(event));
  if (!problem.empty()) {
    complain(run.plan.record, problem + "; recording stopped");
    closeOutputFile(run.record);
  }
}

// Through the handler live input takes. One that draws at once moves the count on, and the
// events after it follow.
void replayUpToNextFrame() {
  const auto& events = run.replayed.events;
  while (run.eventsReplayed < events.size() &&
         events[run.eventsReplayed].frame <= run.progress.framesDrawn) {
    handleInput(events[run.eventsReplayed++]);
  }
}
