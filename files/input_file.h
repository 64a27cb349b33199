// Opening a file to read: the map, a kept session. The open never waits: a FIFO that nothing
// has open for writing would block a plain open until something does, and the viewer would
// hang before its window. Once open, reads wait as usual, so a pipe whose writer is still
// writing is read in full.
#pragma once

#include <cstdio>
#include <string>

#include "files/file_owner.h"

struct InputFile {
  FileOwner file;       // open for binary reading, or null
  std::string problem;  // why not, in a user's words: the system's reason, or one below
};

inline constexpr char kFolderProblem[] = "a folder, not a file";
inline constexpr char kNoWriterProblem[] = "a pipe that nothing writes to";

// Opens the file of UTF-8 name `name`, refusing a folder and a FIFO with no writer.
InputFile openInputFile(const std::string& name);

// Reads the rest of an open stream into *bytes, stopping once more than `most` bytes are in: a
// device or pipe that never ends must not fill memory, nor a string doubled past the bound.
// "" or the system's reason; std::bad_alloc where memory runs out first.
std::string readWhole(std::FILE* file, std::size_t most, std::string* bytes);

#ifndef _WIN32
// The one open that never waits, for reading or writing: open(2) with `flags` and O_NONBLOCK,
// which is then cleared so that reads and writes wait as usual. -1 with errno set on failure.
int openWithoutWaiting(const std::string& name, int flags);
#endif
