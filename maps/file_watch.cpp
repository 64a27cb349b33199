#include "maps/file_watch.h"

#include <algorithm>

bool isWatchingFolders(const FileWatch& watch) {
  return !watch.held.empty();
}

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace {

// A save in place ends with its file closed; editors that save beside it and rename, with the
// rename; a removal or a new file of the name, likewise.
constexpr std::uint32_t kChanges =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_ATTRIB;

// inotify gives one watch to one folder however it is named: a watch is removed only when no
// other name still holds it.
bool isHeldElsewhere(const FileWatch& watch, const std::string& folder, int id) {
  return std::any_of(watch.held.begin(), watch.held.end(), [&](const auto& entry) {
    return entry.first != folder && entry.second == id;
  });
}

}  // namespace

FileWatch::~FileWatch() {
  if (fd >= 0) {
    close(fd);
  }
}

bool startFileWatch(FileWatch& watch) {
  if (watch.fd < 0) {
    watch.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  }
  return watch.fd >= 0;
}

void watchFolders(FileWatch& watch, const std::vector<std::string>& folders) {
  if (watch.fd < 0) {
    return;
  }
  for (auto entry = watch.held.begin(); entry != watch.held.end();) {
    if (std::find(folders.begin(), folders.end(), entry->first) != folders.end()) {
      ++entry;
      continue;
    }
    if (!isHeldElsewhere(watch, entry->first, entry->second)) {
      inotify_rm_watch(watch.fd, entry->second);
    }
    entry = watch.held.erase(entry);
  }
  for (const std::string& folder : folders) {
    if (watch.held.count(folder) == 0) {
      const int id = inotify_add_watch(watch.fd, folder.c_str(), kChanges);
      if (id >= 0) {
        watch.held[folder] = id;
      }
    }
  }
}

bool fileWatchSawChange(FileWatch& watch) {
  if (watch.fd < 0) {
    return false;
  }
  bool changed = false;
  alignas(inotify_event) char events[4096];
  for (;;) {
    const ssize_t got = read(watch.fd, events, sizeof events);
    if (got > 0) {
      changed = true;
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      return changed;  // drained (EAGAIN), or the instance is gone
    }
  }
}

#else

FileWatch::~FileWatch() = default;

bool startFileWatch(FileWatch&) {
  return false;
}

void watchFolders(FileWatch&, const std::vector<std::string>&) {}

bool fileWatchSawChange(FileWatch&) {
  return false;
}

#endif
