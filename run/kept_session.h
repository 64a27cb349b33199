// The session a run keeps (--record) and the one it replays (--replay).
#pragma once

#include "run/run_state.h"

#include <string>

#include "input/input_event.h"
#include "run/exit_status.h"

// Before the window opens: the session to replay, read and checked, and the kept session's
// file checked for writing. None to go on, or the status to exit with after saying why.
Outcome prepareSessions(RunState& run);

// Once the window is open: the session is kept from now on. Its file is begun by
// beginRecordFile, and ended by finishRecord from an exit handler, however the run ends.
void startRecord(RunState& run);
bool keepsSession(const RunState& run);

// The session's last line, with the frames drawn; nothing for a session never begun, which
// leaves an old one as it was. Registered at exit once the window's toolkit has registered its
// own, it runs before the toolkit closes its window.
void finishRecord(RunState& run);

// After the first frame is shown: the kept session's file begun, with the events so far.
void beginRecordFile(RunState& run);

// Keeps one input event with the frame it came before, while the session is kept.
void recordInput(RunState& run, InputEvent event);

// The next replayed event that came before the frame about to be drawn, or nullptr when the
// next one comes later or none is left.
const InputEvent* takeReplayedEvent(RunState& run);
