// The maps a run steps through, as maps.cpp and the texture cache share them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/file_stamp.h"
#include "maps/file_watch.h"
#include "maps/map_reader.h"
#include "maps/quiet_file.h"
#include "scene/gl_headers.h"
#include "scene/image_buffer.h"

inline constexpr std::size_t kNoMap = static_cast<std::size_t>(-1);

struct Map {
  std::string path;
  bool broken = false;           // could not be read: reported once, and skipped from then on
  GLuint texture = 0;            // 0 while GL holds none for it
  std::size_t textureBytes = 0;  // what its texture takes of the budget
  std::uint64_t lastShown = 0;   // the showing it was last shown at; 0: never
  FileStamp stamp;               // its file as it was when its texture was read
  bool gone = false;             // its folder holds it no more: it stays while shown
};

// A folder named, looked at for maps saved into it or removed.
struct FolderLook {
  std::string name;
  std::uint64_t seen = 0;      // its fingerprint when it was last listed
  Quiet<std::uint64_t> quiet;  // a change, waited out before it is listed again
};

struct Maps {
  std::vector<Map> list;
  std::vector<std::string> named;   // the maps and folders named, in order
  std::vector<FolderLook> folders;  // the folders among them, once watched
  std::size_t shown = 0;
  std::size_t wanted = kNoMap;        // the map asked for and not shown yet; kNoMap while none is
  std::ptrdiff_t direction = 1;       // the way to go on where the map asked for cannot be read
  std::size_t passed = 0;             // maps passed over so far, as none of them could be read
  std::size_t kept = kNoMap;          // the map whose pixels are kept in `keptPixels`
  ImageBuffer* keptPixels = nullptr;  // where the first map shown keeps its pixels for the run
  bool defaultMap = false;            // ./env.ppm, none being named
  std::uint64_t showings = 0;
  MapReader reader;        // started once there are maps to read ahead or to watch
  bool watching = false;   // the shown map's file is checked for changes
  bool rereading = false;  // the shown map's changed file is being read again
  FileStamp saidOf;        // the change whose failed read was last said, so it is said once
  QuietWatch quiet;        // a change of the shown map's file, waited out before it is read
  FileWatch fileWatch;     // word of the shown map's folder changing, where the system gives it
  double nextLook = 0.0;   // when the shown map's file is next looked at, on a steady clock
  double nextFolderLook = 0.0;  // when the folders are next listed, where no word comes at once
};

// The map `step` places from `from`, wrapping; there is at least one.
inline std::size_t mapAround(const Maps& maps, std::size_t from, std::ptrdiff_t step) {
  const auto count = static_cast<std::ptrdiff_t>(maps.list.size());
  return static_cast<std::size_t>(((static_cast<std::ptrdiff_t>(from) + step) % count + count) %
                                  count);
}

// The map `step` places from the shown one, wrapping.
inline std::size_t mapAround(const Maps& maps, std::ptrdiff_t step) {
  return mapAround(maps, maps.shown, step);
}
