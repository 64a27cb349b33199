// Word of a change in a folder as soon as a file in it is saved, renamed or removed, where the
// system gives it (Linux's inotify). Elsewhere, or on a file system that gives none, nothing
// comes, and the caller's own look at its files, about once a second, serves alone.
#pragma once

#include <map>
#include <string>
#include <vector>

// Owns its inotify instance, closed with it.
struct FileWatch {
  int fd = -1;                      // the inotify instance; -1 where there is none
  std::map<std::string, int> held;  // each folder watched, and its watch

  FileWatch() = default;
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;
  ~FileWatch();
};

// Starts watching nothing yet; false where the system gives no word of changes.
bool startFileWatch(FileWatch& watch);

// Watches these folders, and no others. Two names of one folder share the system's watch.
void watchFolders(FileWatch& watch, const std::vector<std::string>& folders);

// Whether any folder is watched: only then is there word to wait for.
bool isWatchingFolders(const FileWatch& watch);

// Whether a change has come since the last call; never waits.
bool fileWatchSawChange(FileWatch& watch);
