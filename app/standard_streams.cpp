#include "app/standard_streams.h"

#include <cerrno>
#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

void keepStandardStreamsOpen() {
#ifndef _WIN32
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      // The lowest free descriptor is the one just found closed.
      if (open("/dev/null", O_RDWR) != fd) {
        return;
      }
    }
  }
#endif
}

bool flushStandardOutput() {
  return std::fflush(stdout) == 0 && !std::ferror(stdout);
}
