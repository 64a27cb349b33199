#include "files/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <utility>

#include "files/file_name.h"
#include "files/system_words.h"

namespace {

InputFile refused(const std::string& problem) {
  return {nullptr, problem};
}

}  // namespace

std::string readWhole(std::FILE* file, std::size_t most, std::string* bytes) {
  // A file that says its size is taken in one reservation; a pipe's bytes grow the string, but
  // never past the bound plus one chunk, where doubling would reserve up to twice the bound.
  struct stat info {};
  if (::fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    const auto size = static_cast<std::uint64_t>(info.st_size);
    bytes->reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size, most) + 1));
  }
  char chunk[1 << 16];
  std::size_t got = 0;
  while (bytes->size() <= most && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    if (bytes->size() + got > bytes->capacity()) {
      // A fresh string takes the capacity asked exactly, where reserve on a full one may
      // double it whatever is asked.
      const std::size_t doubled = std::max(bytes->capacity() * 2, bytes->size() + got);
      std::string grown;
      grown.reserve(std::min(doubled, most + sizeof chunk));
      grown.append(*bytes);
      bytes->swap(grown);
    }
    bytes->append(chunk, got);
  }
  return std::ferror(file) ? systemWords(errno) : "";
}

#ifndef _WIN32

int openWithoutWaiting(const std::string& name, int flags) {
  const int fd = openNamed(name, flags | O_NONBLOCK);
  if (fd >= 0 && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

InputFile openInputFile(const std::string& name) {
  const int fd = openWithoutWaiting(name, O_RDONLY);
  if (fd < 0) {
    return refused(systemWords(errno));
  }
  struct stat info {};
  std::FILE* file = nullptr;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || (file = ::fdopen(fd, "rb")) == nullptr) {
    const int error = errno;
    ::close(fd);
    return refused(S_ISDIR(info.st_mode) ? kFolderProblem : systemWords(error));
  }
  FileOwner owner(file);
  // With no writer a FIFO reads as ended at once; say so rather than call it an empty file.
  if (S_ISFIFO(info.st_mode)) {
    const int first = std::fgetc(file);
    if (first == EOF) {
      return refused(kNoWriterProblem);
    }
    std::ungetc(first, file);
  }
  return {std::move(owner), ""};
}

#else

// Windows has no FIFOs in its file system; a folder is the one name that is not a file.
InputFile openInputFile(const std::string& name) {
  std::error_code error;
  if (std::filesystem::is_directory(pathOf(name), error)) {
    return refused(kFolderProblem);
  }
  std::FILE* file = fopenNamed(name, "rb");
  return file != nullptr ? InputFile{FileOwner(file), ""} : refused(systemWords(errno));
}

#endif
