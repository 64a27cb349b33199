// The files a run writes beside its window (its picture or numbered pictures, its results), and
// the rule that no file is both read and written by one run, or written twice.
#pragma once

#include "run/run_state.h"

#include <string>

#include "picture/png_file.h"
#include "run/exit_status.h"

// A file the run would both write and read, or write twice, and the options that name it, or
// none, by the plan and the maps in the run's record.
struct FileClash {
  std::string file;     // "" when there is none
  std::string options;  // the options that name it: "--screenshot and --results"
};
FileClash fileOptionsClash(const RunState& run);

// Opens the picture's and the results' files before the first frame, so that a name that can
// never be written is refused before anything is drawn. None to go on, or the status to exit
// with after saying why.
Outcome openRunFiles(RunState& run);

// Writes `picture` to the picture's file, opened before; "" or why not.
std::string writePicture(RunState& run, const RgbImage& picture);

// Saves the frame just counted under its number, for a numbered --screenshot name.
void saveNumberedPicture(RunState& run, const RgbImage& picture);
