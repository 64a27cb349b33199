#include "picture/new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/file_name.h"

namespace fs = std::filesystem;

namespace {

// A new, empty file of its own in the folder of `target`, open for writing; -1 with errno set
// when the folder takes none. Hidden, so that a run killed while writing leaves nothing in
// plain sight.
int makeTemporaryBeside(const std::string& target, std::string* temporary) {
  return createUniqueFile(folderOf(target) + "/.velkarin-", temporary);
}

#ifdef O_TMPFILE
// Where the system has them, a file with no name at all in the folder of `target` until it is
// complete, so that a run killed at any moment leaves nothing behind; -1 where the folder's
// file system takes none.
int makeUnnamedBeside(const std::string& target) {
  return open(folderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
}

// Gives an unnamed file the hidden temporary name it is then renamed from.
std::string nameUnnamed(int fd, const std::string& target, std::string* temporary) {
  const std::string descriptor = "/proc/self/fd/" + std::to_string(fd);
  for (;;) {
    const int placeholder = makeTemporaryBeside(target, temporary);
    if (placeholder < 0) {
      return std::strerror(errno);
    }
    close(placeholder);
    unlink(temporary->c_str());  // its name is now free, and unlikely to be taken again
    if (linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, temporary->c_str(), AT_SYMLINK_FOLLOW) ==
        0) {
      return "";
    }
    if (errno != EEXIST) {
      return std::strerror(errno);
    }
  }
}
#endif

}  // namespace

std::string folderOf(const std::string& target) {
  const fs::path folder = pathOf(target).parent_path();
  return nameOf(folder.empty() ? fs::path(".") : folder);
}

int makeNewFileBeside(const std::string& target, std::string* temporary) {
#ifdef O_TMPFILE
  // An unnamed file is named at the end through /proc; without /proc it could not be.
  if (access("/proc/self/fd", X_OK) == 0) {
    if (const int fd = makeUnnamedBeside(target); fd >= 0) {
      return fd;
    }
  }
#endif
  return makeTemporaryBeside(target, temporary);
}

std::string moveOver(int fd, const std::string& target, std::string* temporary) {
#ifdef O_TMPFILE
  if (temporary->empty()) {
    if (std::string problem = nameUnnamed(fd, target, temporary); !problem.empty()) {
      return problem;
    }
  }
#else
  (void)fd;
#endif
  std::error_code error;
  fs::rename(pathOf(*temporary), pathOf(target), error);
  return error ? error.message() : "";
}
