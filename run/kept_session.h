// The session a run keeps (--record) and the one it replays (--replay).
#pragma once

#include <string>

#include "input/input_event.h"
#include "run/exit_status.h"

// Before the window opens: the session to replay, read and checked, and the kept session's
// file checked for writing. None to go on, or the status to exit with after saying why.
Outcome prepareSessions();

// Once the window is open: the session is kept from now on, its end line promised however the
// run ends. Its file is begun by beginRecordFile.
void startRecord();

// After the first frame is shown: the kept session's file begun, with the events so far.
void beginRecordFile();

// Keeps one input event with the frame it came before, while the session is kept.
void recordInput(InputEvent event);

// The next replayed event that came before the frame about to be drawn, or nullptr when the
// next one comes later or none is left.
const InputEvent* takeReplayedEvent();
