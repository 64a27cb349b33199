// The session a run keeps (--record) and the one it replays (--replay).
#pragma once

#include <string>

#include "input/input_event.h"

// Before the window opens: the session to replay, read and checked, and the kept session's
// file checked for writing. Returns -1 to go on, or the status to exit with after saying why.
int prepareSessions();

// Once the window is open: the kept session's file begun, and its end line promised however
// the run ends.
void startRecord();

// Keeps one input event with the frame it came before, while the session is kept.
void recordInput(InputEvent event);

// Hands on the replayed events that came before the next frame.
void replayUpToNextFrame();
