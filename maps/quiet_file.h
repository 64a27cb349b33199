// A file being saved changes many times before it is whole: an editor writing a large map in
// place takes seconds. It is read once it has been quiet a while, so that one save is read,
// and a failure said, once.
#pragma once

#include "files/file_stamp.h"

// How long a changed file must stay as it is before it is read.
inline constexpr double kQuietSeconds = 0.25;

// `Stamp` is what the file (or folder) is seen as: a FileStamp, or a folder's fingerprint.
template <typename Stamp>
struct Quiet {
  bool changing = false;  // a change is being waited out
  Stamp last{};           // the file as last seen
  double since = 0.0;     // when it was first seen so, in seconds
};
using QuietWatch = Quiet<FileStamp>;

// Whether the file, seen as `now` at `seconds`, is to be read: it is neither what is shown
// (`shown`) nor a change whose failure was said (`said`), and it has stayed as it is for
// kQuietSeconds. Each look while it changes starts the wait again.
template <typename Stamp>
bool isQuietChange(Quiet<Stamp>& watch, const Stamp& now, double seconds, const Stamp& shown,
                   const Stamp& said) {
  if (now == shown || now == said) {
    watch.changing = false;
    return false;
  }
  if (!watch.changing || now != watch.last) {
    watch = {true, now, seconds};
    return false;
  }
  if (seconds - watch.since < kQuietSeconds) {
    return false;
  }
  watch.changing = false;
  return true;
}
