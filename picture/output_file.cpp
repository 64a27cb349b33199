#include "picture/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it calls a path a loop.
constexpr int kMaxLinkHops = 40;

// "Too many levels of symbolic links" and the like, in the system's words.
std::string reason(int error) {
  return std::strerror(error);
}

std::string followLinks(const std::string& path, std::string* target) {
  fs::path name = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(name, error))) {
      *target = name.string();
      return "";
    }
    const fs::path to = fs::read_symlink(name, error);
    if (error) {
      return error.message();
    }
    name = to.is_absolute() ? to : name.parent_path() / to;
  }
  return reason(ELOOP);
}

// A new, empty file of its own in the folder of `target`, open for writing; -1 with errno set
// when the folder takes none. Hidden, so that a run killed while writing leaves nothing in
// plain sight.
int makeTemporaryBeside(const std::string& target, std::string* temporary) {
  const fs::path folder = fs::path(target).parent_path();
  const std::string pattern =
      (folder.empty() ? fs::path(".") : folder).string() + "/.velkarin-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  *temporary = name.data();
  return fd;
}

#ifndef _WIN32
// A device or FIFO, opened for writing without waiting: a FIFO that nothing reads from would
// otherwise block the open until something does.
std::string openSpecial(const std::string& target, OutputFile* file) {
  const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return errno == ENXIO ? "a pipe or socket that nothing reads from" : reason(errno);
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file->fd = fd;
  return "";
}

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
#endif

// Writes through `write` into an open descriptor; "" or why it did not all arrive. Closes the
// descriptor unless asked to keep it, a started file's.
std::string writeInto(int fd, const std::function<std::string(std::FILE*)>& write, bool sync,
                      bool keepOpen) {
  std::FILE* stream = fdopen(keepOpen ? dup(fd) : fd, "wb");
  if (stream == nullptr) {
    const int error = errno;
    if (!keepOpen) {
      close(fd);
    }
    return reason(error);
  }
  errno = 0;
  std::string problem = write(stream);
  if ((std::fflush(stream) != 0 || std::ferror(stream)) && errno != 0) {
    problem = reason(errno);  // the system's reason says more than a library's "Write Error"
  }
#ifndef _WIN32
  if (sync && problem.empty() && fsync(fileno(stream)) != 0) {
    problem = reason(errno);
  }
#else
  (void)sync;
#endif
  if (std::fclose(stream) != 0 && problem.empty()) {
    problem = reason(errno);
  }
  return problem;
}

// Replaces a regular file whole. Given `keptFd`, the new file is left open there for appending.
std::string replaceWhole(const std::string& target,
                         const std::function<std::string(std::FILE*)>& write, int* keptFd) {
  std::string temporary;
  const int fd = makeTemporaryBeside(target, &temporary);
  if (fd < 0) {
    return reason(errno);
  }
#ifndef _WIN32
  takeOverModeAndOwner(fd, target);
#endif
  std::string problem = writeInto(fd, write, true, keptFd != nullptr);
  if (problem.empty()) {
    std::error_code error;
    fs::rename(temporary, target, error);
    problem = error ? error.message() : "";
  }
  if (!problem.empty()) {
    std::remove(temporary.c_str());
  }
  if (keptFd != nullptr) {
    *keptFd = problem.empty() ? fd : -1;
    if (!problem.empty()) {
      close(fd);
    }
  }
  return problem;
}

}  // namespace

std::string openOutputFile(const std::string& path, OutputFile* file) {
  std::string problem = followLinks(path, &file->target);
  if (!problem.empty()) {
    return problem;
  }
  std::error_code error;
  const fs::file_status status = fs::status(file->target, error);
  if (fs::is_directory(status)) {
    return reason(EISDIR);
  }
#ifndef _WIN32
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return openSpecial(file->target, file);
  }
#endif
  // Whether the folder takes a new file: try one.
  std::string temporary;
  const int fd = makeTemporaryBeside(file->target, &temporary);
  if (fd < 0) {
    return reason(errno);
  }
  close(fd);
  std::remove(temporary.c_str());
  return "";
}

std::string writeOutputFile(OutputFile& file, const std::function<std::string(std::FILE*)>& write) {
  if (file.fd < 0) {
    return replaceWhole(file.target, write, nullptr);
  }
  const int fd = file.fd;
  file.fd = -1;
  return writeInto(fd, write, false, false);
}

std::string startOutputFile(OutputFile& file, const std::string& first) {
  const auto writeFirst = [&](std::FILE* stream) -> std::string {
    return std::fwrite(first.data(), 1, first.size(), stream) == first.size() ? "" : reason(errno);
  };
  if (file.fd < 0) {
    return replaceWhole(file.target, writeFirst, &file.fd);
  }
  return writeInto(file.fd, writeFirst, false, true);
}

std::string appendToOutputFile(OutputFile& file, const std::string& bytes) {
  const auto written = ::write(file.fd, bytes.data(), bytes.size());
  if (written < 0) {
    return reason(errno);
  }
  return static_cast<std::size_t>(written) == bytes.size() ? "" : reason(ENOSPC);
}
