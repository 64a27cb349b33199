#include "tests/viewer_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

std::string makeTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/velkarin-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    return {};
  }
  return pattern;
}

ViewerProcess startViewer(const std::string& folder) {
  int fds[2];
  if (pipe(fds) != 0) {
    return {};
  }
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    if (chdir(folder.c_str()) != 0) {
      _exit(126);
    }
    execl(VELKARIN_BINARY, VELKARIN_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  fcntl(fds[0], F_SETFL, O_NONBLOCK);
  return {pid, fds[0]};
}

std::string readOutput(const ViewerProcess& viewer, int waitMs) {
  std::string text;
  pollfd entry{viewer.stdoutFd, POLLIN, 0};
  while (poll(&entry, 1, waitMs) > 0) {
    char chunk[256];
    const ssize_t got = read(viewer.stdoutFd, chunk, sizeof chunk);
    if (got <= 0) {
      break;
    }
    text.append(chunk, static_cast<size_t>(got));
  }
  return text;
}

bool isRunning(const ViewerProcess& viewer) {
  int status = 0;
  return viewer.pid > 0 && waitpid(viewer.pid, &status, WNOHANG) == 0;
}

int waitForExit(ViewerProcess& viewer, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(viewer.pid, &status, WNOHANG) == viewer.pid) {
      viewer.pid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  stopViewer(viewer);
  return -1;
}

void stopViewer(ViewerProcess& viewer) {
  if (viewer.pid > 0) {
    kill(viewer.pid, SIGKILL);
    waitpid(viewer.pid, nullptr, 0);
    viewer.pid = -1;
  }
  if (viewer.stdoutFd >= 0) {
    close(viewer.stdoutFd);
    viewer.stdoutFd = -1;
  }
}
