// Starts the real viewer binary as a child process and watches it from outside.
#pragma once

#include <sys/types.h>

#include <string>

struct ViewerProcess {
  pid_t pid = -1;
  int stdoutFd = -1;  // read end of a pipe on the viewer's standard output
};

// A fresh, empty folder under the system's temporary folder.
std::string makeTempFolder();

// Runs the viewer with `folder` as its working folder.
ViewerProcess startViewer(const std::string& folder);

// Whatever the viewer has written to standard output within `waitMs`, until it goes quiet.
std::string readOutput(const ViewerProcess& viewer, int waitMs);

bool isRunning(const ViewerProcess& viewer);

// Waits up to `timeoutMs` for the viewer to exit; returns its exit status, or -1 if it did
// not exit normally in time (it is then killed).
int waitForExit(ViewerProcess& viewer, int timeoutMs);

// Ends the viewer by its process id.
void stopViewer(ViewerProcess& viewer);
