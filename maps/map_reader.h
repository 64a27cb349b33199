// Maps read and decoded away from the GL thread. A worker thread of the standard library takes
// the maps asked for, one at a time, and keeps each result until the GL thread takes it: only
// the upload is the GL thread's, and the GL thread never waits for the worker longer than it
// says. Asking for the neighbours of the shown map while it is shown lets Page Down find the
// next one decoded.
#pragma once

#include <cstddef>
#include <functional>
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

// A map as the run names it: its place in the list of maps, and its file.
struct MapAsked {
  std::size_t index = 0;
  std::string path;
};

// How the worker reads one map. It runs on the worker; whatever it throws becomes that map's
// reason (kNoMemoryToRead for std::bad_alloc), and the worker goes on.
using MapDecoder = std::function<MapRead(const MapAsked&)>;

struct MapReaderState;  // what the GL thread and the worker share, under one lock

struct MapReader {
  std::shared_ptr<MapReaderState> state;  // the worker holds it too, until it ends
  std::thread worker;
  // The process may end while the worker decodes a large map: it is let go then, as a
  // thread still joined to its owner would end the process with std::terminate.
  ~MapReader();
};

// Starts the worker, every signal blocked on it from its first instruction, so that signals
// are taken by the GL thread alone.
void startMapReader(MapReader& reader, MapDecoder decode);

// The decoder the viewer reads maps with: the file read whole, and read again while it changes
// under the read; an image with a side over `largestSide` (GL's, learnt on the GL thread) is
// refused before its pixels are read.
MapDecoder mapFileDecoder(int largestSide);

// Asks for these maps to be read in this order, and for no others: maps asked for before and
// not yet begun are dropped, and so are results, finished or still being read, that are not
// among them, so that the first of these is the next map read.
void readAhead(MapReader& reader, const std::vector<MapAsked>& wanted);

// Forgets every map asked for and every result not taken: the maps' places have changed, and
// a result kept by its old place would be taken for another map.
void forgetReads(MapReader& reader);

// Asks for one map to be read before any other, dropping a result of it not taken, which is
// older: the shown map, changed on disk.
void askForMap(MapReader& reader, const MapAsked& request);

// The map read, if the worker has it within `waitSeconds` (0: only if it has it now); asked
// for first where it was not. A result whose file has changed since it was read is dropped and
// the map asked for again. False, with *read unchanged, while it is still to come.
bool takeMapRead(MapReader& reader, const MapAsked& request, double waitSeconds, MapRead* read);

// The map read if the worker has finished it, whatever its file has done since; nothing (false)
// otherwise, without waiting.
bool takeMapReadIfDone(MapReader& reader, std::size_t index, MapRead* read);
