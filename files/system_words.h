// The system's words for an error number, as strerror gives them, but safe on any thread: maps
// are read on a worker while the GL thread writes files, and strerror may share one buffer.
#pragma once

#include <string>

std::string systemWords(int error);
