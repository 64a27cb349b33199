// A kept session's file, as --replay reads it.
#pragma once

#include <string>

#include "run/session.h"

// Reads and checks the session kept in `path`. Returns "" with the session in *session, or
// what is wrong ("line 3: unknown event 'jump'", "No such file or directory"). Never waits on
// a FIFO that nothing writes to. "-" reads standard input.
std::string readSessionFile(const std::string& path, Session* session);
