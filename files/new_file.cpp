#include "files/new_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/file_name.h"
#include "files/input_file.h"
#include "files/system_words.h"

namespace fs = std::filesystem;

namespace {

// A new, empty file of its own in the folder of `target`, open for writing; -1 with errno set
// when the folder takes none. Hidden, so that a run killed while writing leaves nothing in
// plain sight.
int makeTemporaryBeside(const std::string& target, std::string* temporary) {
  return createUniqueFile(folderOf(target) + "/.velkarin-", temporary);
}

// What is replaced by a rename must be a regular file or nothing: a device, a FIFO or a
// folder put where a checked file stood is never renamed over, not even by the superuser.
std::string checkRenamedOver(const std::string& target) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(pathOf(target), error);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return "no longer a regular file; it is never replaced";
  }
  return "";
}

std::string renameOver(const std::string& temporary, const std::string& target) {
  if (std::string problem = checkRenamedOver(target); !problem.empty()) {
    return problem;
  }
  std::error_code error;
  fs::rename(pathOf(temporary), pathOf(target), error);
  return error ? error.message() : "";
}

#ifdef O_TMPFILE
// Where the system has them, a file with no name at all in the folder of `target` until it is
// complete, so that a run killed at any moment leaves nothing behind; -1 where the folder's
// file system takes none.
int makeUnnamedBeside(const std::string& target) {
  return open(folderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
}

// Gives an unnamed file `name` where no file has that name yet, in one step. False, with errno
// set, where the name is taken (EEXIST) or the link fails.
bool nameUnnamedAs(int fd, const std::string& name) {
  const std::string descriptor = "/proc/self/fd/" + std::to_string(fd);
  return linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Gives an unnamed file the hidden temporary name it is then renamed from.
std::string nameUnnamed(int fd, const std::string& target, std::string* temporary) {
  for (;;) {
    const int placeholder = makeTemporaryBeside(target, temporary);
    if (placeholder < 0) {
      return systemWords(errno);
    }
    close(placeholder);
    unlink(temporary->c_str());  // its name is now free, and unlikely to be taken again
    if (nameUnnamedAs(fd, *temporary)) {
      return "";
    }
    if (errno != EEXIST) {
      return systemWords(errno);
    }
  }
}

// An unnamed file put in place of `target`: named straight as the target where that is free,
// so that a run killed at any moment leaves either nothing or the whole file; else under a
// hidden name renamed over the old file at once.
std::string moveUnnamedOver(int fd, const std::string& target, std::string* temporary) {
  if (nameUnnamedAs(fd, target)) {
    return "";
  }
  if (errno != EEXIST) {
    return systemWords(errno);
  }
  // Every signal that can be held back waits while the file has its hidden name: a stop signal
  // then would end the run with the name left behind. SIGKILL cannot be held.
  sigset_t all;
  sigset_t before;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &before);
  std::string problem = nameUnnamed(fd, target, temporary);
  if (problem.empty()) {
    problem = renameOver(*temporary, target);
  }
  sigprocmask(SIG_SETMASK, &before, nullptr);
  return problem;
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
    return moveUnnamedOver(fd, target, temporary);
  }
#else
  (void)fd;
#endif
  return renameOver(*temporary, target);
}

#ifndef _WIN32
// The permission bits and owner of the file being replaced, or those of a new file.
void takeOverModeAndOwner(int fd, const std::string& target) {
  struct stat old {};
  if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    fchmod(fd, old.st_mode & 07777);
    if (fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only the superuser may give a file away; anyone else keeps the new file as theirs.
    }
    return;
  }
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);  // mkstemp made it private; what a run writes is an ordinary file
}

// Whether the user may replace an existing file, as cp would ask: the file itself must open for
// writing (nothing is changed by that), and in a sticky folder such as /tmp a file of another
// user can be neither renamed over nor removed.
std::string checkReplaceable(const std::string& target) {
  const int fd = openWithoutWaiting(target, O_WRONLY | O_NOCTTY);
  if (fd < 0) {
    return systemWords(errno);
  }
  close(fd);
  struct stat file {};
  struct stat folder {};
  const uid_t user = geteuid();
  if (stat(target.c_str(), &file) == 0 && stat(folderOf(target).c_str(), &folder) == 0 &&
      (folder.st_mode & S_ISVTX) != 0 && user != 0 && file.st_uid != user &&
      folder.st_uid != user) {
    return systemWords(EPERM);
  }
  return "";
}
#endif
