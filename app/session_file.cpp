#include "app/session_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Far beyond any session a person keeps: a line an event, thousands of events a minute.
constexpr std::size_t kMostSessionBytes = 16u << 20;

#ifndef O_NONBLOCK
#define O_NONBLOCK 0  // no FIFOs to wait on where the flag is missing
#endif

// The whole file, at most kMostSessionBytes + 1 bytes of it; "" or why it could not be read.
std::string readAll(int fd, std::string* text) {
  char chunk[4096];
  for (;;) {
    const auto got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return std::strerror(errno);
    }
    if (got == 0 || text->size() > kMostSessionBytes) {
      return "";
    }
    text->append(chunk, static_cast<std::size_t>(got));
  }
}

}  // namespace

std::string readSessionFile(const std::string& path, Session* session) {
  // Opened without waiting, for a FIFO that nothing has open for writing; read as usual after.
  // "-" is standard input, as it is to most programs that read a file.
  const int fd = path == "-" ? ::dup(0) : ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) {
    return std::strerror(errno);
  }
  struct stat info {};
  std::string problem;
  std::string text;
  if (::fstat(fd, &info) != 0) {
    problem = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    problem = "a folder, not a file";
  } else {
#ifndef _WIN32
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
#endif
    problem = readAll(fd, &text);
  }
  ::close(fd);
  if (problem.empty() && text.size() > kMostSessionBytes) {
    problem = "larger than any kept session (16 MiB)";
  }
  return problem.empty() ? readSession(text, session) : problem;
}
