// Maps read and decoded away from the GL thread. A worker thread of the standard library takes
// the maps asked for, one at a time, and keeps each result until the GL thread takes it: only
// the upload is the GL thread's. Asking for the neighbours of the shown map while it is shown
// lets Page Down find the next one decoded.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "files/file_stamp.h"
#include "scene/image_buffer.h"
#include "texture/map_texture.h"

// One map as it was read: its pixels, or why it gave none (the report's name is 0), and the
// file as it was when read, so that a change since can be told.
struct MapRead {
  TextureLoad report;
  ImageBuffer image;
  FileStamp stamp;
};

struct MapReaderState;  // what the GL thread and the worker share, under one lock

struct MapReader {
  std::shared_ptr<MapReaderState> state;  // the worker holds it too, until it ends
  std::thread worker;
  // The process may end while the worker decodes a large map: it is let go then, as a
  // thread still joined to its owner would end the process with std::terminate.
  ~MapReader();
};

// A map as the run names it: its place in the list of maps, and its file.
struct MapRequest {
  std::size_t index = 0;
  std::string path;
};

// Starts the worker, which refuses images with a side over `largestSide` (GL's, learnt on the
// GL thread).
void startMapReader(MapReader& reader, int largestSide);

// Asks for these maps to be read in this order, and for no others: maps asked for before and
// not yet begun are dropped, and so are results not taken that are not among them.
void readAhead(MapReader& reader, const std::vector<MapRequest>& wanted);

// Asks for one map to be read before any other, dropping a result of it not taken, which is
// older: the shown map, changed on disk.
void askForMap(MapReader& reader, const MapRequest& request);

// The map read, taken from the worker: read first if it was not asked for, and waited for if
// it is still being read. A file that changed while it was read is read again.
MapRead takeMapRead(MapReader& reader, const MapRequest& request);

// The map read if the worker has finished it; nothing (false) otherwise, without waiting.
bool takeMapReadIfDone(MapReader& reader, std::size_t index, MapRead* read);
