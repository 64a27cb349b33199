// --results: the run's figures as one JSON object, written when the run ends however it ends,
// as the picture is written (whole or not at all). Its fields:
//   version, format_version, started_at, machine {system, release, cpu, cpus}, command_line,
//   environment {NAME: value}, frames_asked, picture, fullscreen,
//   gl {vendor, renderer, version}, window {width, height},
//   samples {asked, given}, swap_interval {asked, obtained, extension},
//   options {keys, replay, maps, hud, frame_rate},
//   frames, seconds, fps, frame_time_ms {median, p99, max}, first_frame_seconds,
//   picture_seconds, exit_status
// Fields are only ever added (format_version counts the additions), never renamed. The seconds
// are those of drawing and swapping, from the first frame to the last swap; the time before
// the first frame and the time spent writing pictures are figures of their own. A figure the
// run cannot give (frame times of a one-frame run, an interval the display does not report)
// is null.
#pragma once

#include "run/run_state.h"

#include "run/exit_status.h"

#include <string>

// What GL and the window are, read while the context is current; a run that loses its display
// writes what was read here.
void noteResultsContext(RunState& run);

// Writes the results file, when the run keeps one, with the status the run ends with. Returns
// that status, or the status of a write that failed (after saying why).
ExitStatus writeResults(RunState& run, ExitStatus status, bool displayGone = false);
