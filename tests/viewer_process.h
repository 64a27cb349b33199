// Starts the real viewer binary as a child process and watches it from outside.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

struct ViewerProcess {
  pid_t pid = -1;
  int stdoutFd = -1;  // read ends of pipes on the viewer's standard output and error
  int stderrFd = -1;
};

// A fresh, empty folder under the system's temporary folder.
std::string makeTempFolder();

// Runs the viewer with `folder` as its working folder, the given command-line arguments and
// extra environment entries ("NAME=value", or "NAME" to remove NAME).
ViewerProcess startViewer(const std::string& folder, const std::vector<std::string>& args = {},
                          const std::vector<std::string>& environment = {});

// What the viewer has written to standard output once a whole line has arrived (or
// `timeoutMs` has passed), with anything else already written after it.
std::string readOutput(const ViewerProcess& viewer, int timeoutMs);

// The same for standard error.
std::string readErrors(const ViewerProcess& viewer, int timeoutMs);

// Polls `condition` until it holds or `timeoutMs` passes; returns whether it held.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

bool isRunning(const ViewerProcess& viewer);

// Waits up to `timeoutMs` for the viewer to exit; returns its exit status, or -1 if it did
// not exit normally in time (it is then killed).
int waitForExit(ViewerProcess& viewer, int timeoutMs);

// Ends the viewer by its process id.
void stopViewer(ViewerProcess& viewer);
