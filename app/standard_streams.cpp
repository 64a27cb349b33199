#include "app/standard_streams.h"

#include <cerrno>
#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

bool keepStandardStreamsOpen() {
  bool outputClosed = false;
#ifndef _WIN32
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      outputClosed = outputClosed || fd == STDOUT_FILENO;
      // The lowest free descriptor is the one just found closed.
      if (open("/dev/null", O_RDWR) != fd) {
        break;
      }
    }
  }
#endif
  return outputClosed;
}

bool flushStandardOutput() {
  return std::fflush(stdout) == 0 && !std::ferror(stdout);
}
