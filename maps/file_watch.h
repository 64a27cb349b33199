// Word of a change in a folder as soon as a file in it is saved, renamed or removed, where the
// system gives it (Linux's inotify). Elsewhere, or on a file system that gives none, nothing
// comes, and the caller's own look at the file, about once a second, serves alone.
#pragma once

#include <string>

struct FileWatch {
  int fd = -1;     // the inotify instance; -1 where there is none
  int watch = -1;  // the folder watched
  std::string folder;
};

// Starts watching nothing yet; false where the system gives no word of changes.
bool startFileWatch(FileWatch& watch);

// Watches the folder that holds `path` (and that one only).
void watchFolderOf(FileWatch& watch, const std::string& path);

// Whether a change has come since the last call; never waits.
bool fileWatchSawChange(FileWatch& watch);
