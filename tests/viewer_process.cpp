#include "tests/viewer_process.h"

#include "files/file_name.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

ViewerProcess startViewer(const std::string& folder, const std::vector<std::string>& args,
                          const std::vector<std::string>& environment) {
  std::vector<std::string> words = {VELKARIN_BINARY};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv = argvOf(words);
  std::vector<std::string> entries = environment;
  int out[2];
  int err[2];
  if (pipe(out) != 0 || pipe(err) != 0) {
    return {};
  }
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    for (int fd : {out[0], out[1], err[0], err[1]}) {
      close(fd);
    }
    if (chdir(folder.c_str()) != 0) {
      _exit(126);
    }
    for (std::string& entry : entries) {
      if (entry.find('=') == std::string::npos) {
        unsetenv(entry.c_str());
      } else {
        putenv(entry.data());
      }
    }
    execv(VELKARIN_BINARY, argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  fcntl(out[0], F_SETFL, O_NONBLOCK);
  fcntl(err[0], F_SETFL, O_NONBLOCK);
  return {pid, out[0], err[0]};
}

namespace {

std::string readLines(int fd, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string text;
  pollfd entry{fd, POLLIN, 0};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const bool lineDone = text.find('\n') != std::string::npos;
    if (poll(&entry, 1, lineDone ? 0 : std::max<int>(0, left.count())) <= 0) {
      return text;
    }
    char chunk[256];
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got <= 0) {
      return text;
    }
    text.append(chunk, static_cast<size_t>(got));
  }
}

}  // namespace

std::string readOutput(const ViewerProcess& viewer, int timeoutMs) {
  return readLines(viewer.stdoutFd, timeoutMs);
}

std::string readErrors(const ViewerProcess& viewer, int timeoutMs) {
  return readLines(viewer.stderrFd, timeoutMs);
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool isRunning(const ViewerProcess& viewer) {
  int status = 0;
  return viewer.pid > 0 && waitpid(viewer.pid, &status, WNOHANG) == 0;
}

int waitForExit(ViewerProcess& viewer, int timeoutMs) {
  int status = 0;
  if (!waitUntil([&] { return waitpid(viewer.pid, &status, WNOHANG) == viewer.pid; }, timeoutMs)) {
    stopViewer(viewer);
    return -1;
  }
  viewer.pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void stopViewer(ViewerProcess& viewer) {
  if (viewer.pid > 0) {
    kill(viewer.pid, SIGKILL);
    waitpid(viewer.pid, nullptr, 0);
    viewer.pid = -1;
  }
  for (int* fd : {&viewer.stdoutFd, &viewer.stderrFd}) {
    if (*fd >= 0) {
      close(*fd);
      *fd = -1;
    }
  }
}
