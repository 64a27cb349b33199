// The files a run writes (its picture, its kept session). Each is opened before the first
// frame, so that a name that can never be written is refused before anything is drawn. Free of
// GL.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// The name that stands for standard output, as it does to most programs that write a file.
inline constexpr char kStandardOutputName[] = "-";

struct OutputFile {
  std::string target;  // the file the name leads to, through any symbolic links
  int fd = -1;         // open for writing: a device or FIFO from the start, a started file after
};

// Follows `path` through symbolic links to the file they lead to (which need not exist yet)
// and checks that it can be written: a device or FIFO is opened for writing, an existing
// regular file must be one the user may write and replace, and its folder must take a new
// file. "-" is standard output; a name the system leads to a pipe or a device (/dev/stdout,
// /dev/fd/N) is opened as it is. Nothing is created or changed. Returns "" or why it cannot,
// such as "No such file or directory" or "Permission denied".
std::string openOutputFile(const std::string& path, OutputFile* file);

// Whether the file is the one standard output writes to ("-", /dev/stdout or the like), a
// device such as a terminal or /dev/null apart.
bool takesStandardOutput(const OutputFile& file);

// Writes the whole file at once through `write`, which returns "" or why it failed. A device
// or FIFO is written directly and never replaced. A regular file is replaced whole: what is
// written goes to a temporary file in the same folder, renamed over it once complete, keeping
// the old file's permission bits; on any failure the old file stays as it was and nothing is
// left beside it. Returns "" or why it failed.
std::string writeOutputFile(OutputFile& file, const std::function<std::string(std::FILE*)>& write);

// Starts a file that grows as the run goes: `first` is written as writeOutputFile writes, at
// once, and the file is kept open for appendToOutputFile.
std::string startOutputFile(OutputFile& file, const std::string& first);

// Adds `bytes` to a started file in one write, so that a process killed at any moment leaves
// only whole additions behind; one that does not all arrive (a full disk) is taken back. Returns
// "" or why it failed.
std::string appendToOutputFile(OutputFile& file, const std::string& bytes);

// Stops writing a started file, leaving it as it is.
void closeOutputFile(OutputFile& file);

// Whether two names lead to one file, existing or not; a character device, which takes
// whatever is written to it, is never counted.
bool nameOneFile(const std::string& a, const std::string& b);
