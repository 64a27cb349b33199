#include "files/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

#include "files/file_name.h"
#include "files/input_file.h"
#include "files/new_file.h"
#include "files/system_words.h"

namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it calls a path a loop.
constexpr int kMaxLinkHops = 40;

void removeFile(const std::string& name) {
  std::error_code error;
  fs::remove(pathOf(name), error);
}

// "Too many levels of symbolic links" and the like, in the system's words.
std::string reason(int error) {
  return systemWords(error);
}

std::string followLinks(const std::string& path, std::string* target) {
  fs::path name = pathOf(path);
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(name, error))) {
      *target = nameOf(name);
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

#ifndef _WIN32
// A device or FIFO, opened for writing without waiting: a FIFO that nothing reads from would
// otherwise block the open until something does.
std::string openSpecial(const std::string& target, OutputFile* file) {
  const int fd = openWithoutWaiting(target, O_WRONLY | O_NOCTTY);
  if (fd < 0) {
    return errno == ENXIO ? "a pipe or socket that nothing reads from" : reason(errno);
  }
  file->fd = fd;
  return "";
}
#endif

// Standard output, taken over for the file: a terminal is refused, as it shows no picture.
std::string openStandardOutput(OutputFile* file) {
  file->target = kStandardOutputName;
  if (isatty(STDOUT_FILENO)) {
    return "standard output is a terminal; send it to a file or a pipe";
  }
  const int fd = dup(STDOUT_FILENO);
  if (fd < 0) {
    return reason(errno);
  }
#ifdef _WIN32
  _setmode(fd, _O_BINARY);
#endif
  file->fd = fd;
  return "";
}

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
  int fd = makeNewFileBeside(target, &temporary);
  if (fd < 0) {
    return reason(errno);
  }
#ifndef _WIN32
  takeOverModeAndOwner(fd, target);
#endif
  std::string problem = writeInto(fd, write, true, true);
#ifdef _WIN32
  // Windows renames no file that is open: the new file is opened again once in place.
  close(fd);
  fd = -1;
#endif
  if (problem.empty()) {
    problem = moveOver(fd, target, &temporary);
  }
  if (!problem.empty() && !temporary.empty()) {
    removeFile(temporary);
  }
#ifdef _WIN32
  if (problem.empty() && keptFd != nullptr) {
    fd = openNamed(target, O_WRONLY | O_APPEND);
    problem = fd < 0 ? reason(errno) : "";
  }
#endif
  if (keptFd != nullptr && problem.empty()) {
    *keptFd = fd;
    return "";
  }
  if (keptFd != nullptr) {
    *keptFd = -1;
  }
  if (fd >= 0) {
    close(fd);
  }
  return problem;
}

// Whether the folder of `target` takes a new file: one is made and removed again.
std::string checkFolderTakesNewFile(const std::string& target, bool exists) {
  std::string temporary;
  const int fd = makeNewFileBeside(target, &temporary);
  const int refusal = errno;
  if (fd < 0 && exists) {
    return "its folder takes no new file to replace it with (" + reason(refusal) + ")";
  }
  if (fd < 0) {
    return reason(refusal);
  }
  close(fd);
  if (!temporary.empty()) {
    removeFile(temporary);
  }
  return "";
}

}  // namespace

std::string openOutputFile(const std::string& path, OutputFile* file) {
  if (path == kStandardOutputName) {
    return openStandardOutput(file);
  }
#ifndef _WIN32
  // A device, FIFO or pipe is opened as the system reaches it, through any links: /dev/stdout,
  // /dev/fd/N and a shell's >(...) lead through /proc to a pipe with no name of its own.
  struct stat reached {};
  if (stat(path.c_str(), &reached) == 0 && !S_ISREG(reached.st_mode) && !S_ISDIR(reached.st_mode)) {
    file->target = path;
    return openSpecial(path, file);
  }
#endif
  std::string problem = followLinks(path, &file->target);
  if (!problem.empty()) {
    return problem;
  }
  std::error_code error;
  const fs::file_status status = fs::status(pathOf(file->target), error);
  if (fs::is_directory(status)) {
    return reason(EISDIR);
  }
#ifndef _WIN32
  // A device or FIFO was opened above, as the name reached it.
  if (fs::exists(status)) {
    if (std::string problem = checkReplaceable(file->target); !problem.empty()) {
      return problem;
    }
  }
#endif
  return checkFolderTakesNewFile(file->target, fs::exists(status));
}

bool takesStandardOutput(const OutputFile& file) {
  if (file.target == kStandardOutputName) {
    return true;
  }
#ifndef _WIN32
  struct stat own {};
  struct stat output {};
  return file.fd >= 0 && fstat(file.fd, &own) == 0 && fstat(STDOUT_FILENO, &output) == 0 &&
         !S_ISCHR(own.st_mode) && own.st_dev == output.st_dev && own.st_ino == output.st_ino;
#else
  return false;
#endif
}

void closeOutputFile(OutputFile& file) {
  if (file.fd >= 0) {
    close(file.fd);
    file.fd = -1;
  }
}

bool nameOneFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::is_character_file(pathOf(a), error)) {
    return false;  // such as /dev/null, which takes anything
  }
  if (fs::equivalent(pathOf(a), pathOf(b), error)) {
    return true;
  }
  const fs::path first = fs::weakly_canonical(fs::absolute(pathOf(a), error), error);
  const fs::path second = fs::weakly_canonical(fs::absolute(pathOf(b), error), error);
  return first == second;
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
  const auto before = lseek(file.fd, 0, SEEK_END);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto written = ::write(file.fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      const int error = written < 0 ? errno : ENOSPC;
      // Undone, where the file can be: it then ends with the last whole addition.
      if (done > 0 && before >= 0 && ftruncate(file.fd, before) == 0) {
        lseek(file.fd, before, SEEK_SET);
      }
      return reason(error);
    }
    done += static_cast<std::size_t>(written);
  }
  return "";
}
