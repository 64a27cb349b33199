// How a run ends: after its last frame, by a signal, or by its window closing.
#pragma once

#include "picture/png_file.h"

// For a run with a frame budget or a kept session: SIGINT, SIGTERM and SIGHUP end it at the
// next frame with a word of what was drawn.
void catchStopSignals();

// Ends the run where a signal asked it to.
void stopIfSignalled();

// For a run with a frame budget: a window closed by a person ends it with status 1.
void watchWindowClose();

// After the budget's last frame: the picture, the keys the budget left unpressed, the whole
// run's frame rate, the exit.
[[noreturn]] void endRun(const RgbImage& lastFrame);

// Prints a frame-rate line at once.
void printLine(const std::string& line);
