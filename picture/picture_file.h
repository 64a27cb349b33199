// The file a run's picture goes to. It is opened before the first frame, so that a name that
// can never be written is refused before anything is drawn, and written once, at the end.
#pragma once

#include <string>

#include "picture/png_file.h"

struct PictureFile {
  std::string target;  // the file the name leads to, through any symbolic links
  int fd = -1;         // a device or FIFO, held open for writing; -1 for a regular file
};

// Follows `path` through symbolic links to the file they lead to (which need not exist yet)
// and checks that a picture can go there: a device or FIFO is opened for writing, and a
// regular file's folder must take a new file. Returns "" or why it cannot, such as "No such
// file or directory".
std::string openPictureFile(const std::string& path, PictureFile* file);

// Writes the picture. A device or FIFO is written directly and never replaced. A regular
// file is replaced whole: the picture goes to a temporary file in the same folder, which is
// renamed over it once complete, keeping the old file's permission bits; on any failure the
// old file stays as it was and nothing is left beside it. Returns "" or why it failed.
std::string writePictureFile(PictureFile& file, const RgbImage& image);
