#include "maps/file_watch.h"

#include <filesystem>

#include "files/file_name.h"

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace {

// A save in place ends with its file closed; editors that save beside it and rename, with the
// rename; a removal or a new file of the name, likewise.
constexpr std::uint32_t kChanges =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_ATTRIB;

}  // namespace

bool startFileWatch(FileWatch& watch) {
  watch.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  return watch.fd >= 0;
}

void watchFolderOf(FileWatch& watch, const std::string& path) {
  if (watch.fd < 0) {
    return;
  }
  std::filesystem::path folder = pathOf(path).parent_path();
  const std::string name = folder.empty() ? "." : nameOf(folder);
  if (name == watch.folder) {
    return;
  }
  if (watch.watch >= 0) {
    inotify_rm_watch(watch.fd, watch.watch);
  }
  watch.watch = inotify_add_watch(watch.fd, name.c_str(), kChanges);
  watch.folder = watch.watch >= 0 ? name : "";
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

bool startFileWatch(FileWatch&) {
  return false;
}

void watchFolderOf(FileWatch&, const std::string&) {}

bool fileWatchSawChange(FileWatch&) {
  return false;
}

#endif
