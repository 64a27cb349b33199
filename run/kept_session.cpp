#include "run/kept_session.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "files/complaint.h"
#include "run/exit_status.h"
#include "run/run_state.h"
#include "run/session_file.h"

namespace {

// One rule for every write the session's file refuses, its first line's or a later one's (a
// full disk, a device such as /dev/full, a file-size limit): say why, keep the session no
// further, and go on with the run.
void stopRecording(RunState& run, const std::string& problem) {
  complain(run.plan.record, problem + "; recording stopped");
  closeOutputFile(run.record);
  run.recording = Recording::Stopped;
  run.recordPending.clear();
}

}  // namespace

Outcome prepareSessions(RunState& run) {
  RunPlan& plan = run.plan;
  if (!plan.replay.empty()) {
    if (std::string problem = readSessionFile(plan.replay, &run.replayed); !problem.empty()) {
      complain(plan.replay, problem);
      return ExitStatus::BadSession;
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
      return ExitStatus::CannotWrite;
    }
  }
  return std::nullopt;
}

void startRecord(RunState& run) {
  run.recording = Recording::Pending;
}

bool keepsSession(const RunState& run) {
  return run.recording != Recording::Off;
}

// However the run ends, the session's last line says how many frames it drew. A run that drew
// no frame never began the file, and leaves an old session as it was.
void finishRecord(RunState& run) {
  if (run.recording == Recording::Writing) {
    appendToOutputFile(run.record, sessionEnd(run.progress.framesDrawn));
  }
}

// The kept session's file is replaced only once a frame has been shown, with the events that
// came before it: a run stopped sooner (a signal during a slow start) leaves an old session as
// it was.
void beginRecordFile(RunState& run) {
  if (run.recording != Recording::Pending) {
    return;
  }
  const std::string first = sessionHeader(run.keptMaps) + run.recordPending;
  run.recordPending.clear();
  if (std::string problem = startOutputFile(run.record, first); !problem.empty()) {
    stopRecording(run, problem);
    return;
  }
  run.recording = Recording::Writing;
}

// An event that cannot be kept is taken back, so the file ends with the last whole event, as a
// killed run's does.
void recordInput(RunState& run, InputEvent event) {
  event.frame = run.progress.framesDrawn;
  if (run.recording == Recording::Pending) {
    run.recordPending += sessionLine(event);
    return;
  }
  if (run.recording != Recording::Writing) {
    return;
  }
  if (const std::string problem = appendToOutputFile(run.record, sessionLine(event));
      !problem.empty()) {
    stopRecording(run, problem);
  }
}

// An event that draws at once moves the count on, so the events after it wait for their frame.
const InputEvent* takeReplayedEvent(RunState& run) {
  const auto& events = run.replayed.events;
  if (run.eventsReplayed == events.size() ||
      events[run.eventsReplayed].frame > run.progress.framesDrawn) {
    return nullptr;
  }
  return &events[run.eventsReplayed++];
}
