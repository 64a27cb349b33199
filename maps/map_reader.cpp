#include "maps/map_reader.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>

struct MapReaderState {
  std::mutex lock;
  std::condition_variable changed;  // a request came, a read ended, or the process is ending
  std::deque<MapRequest> queue;
  std::map<std::size_t, MapRead> done;
  std::size_t reading = kNone;  // the index being read
  bool ending = false;
  int largestSide = 0;

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
};

namespace {

// How often a file that keeps changing while it is read is tried before it counts as broken.
constexpr int kReadTries = 3;

// Reads a map whole, its file unchanged from before the read to after it; one written to
// meanwhile (an editor saving it) is read again, never kept half-read.
MapRead readSteady(const std::string& path, int largestSide) {
  MapRead read;
  for (int tries = 0; tries < kReadTries; ++tries) {
    const FileStamp before = stampOf(path);
    read.report = readMapPixels(&read.image, path.c_str(), largestSide);
    read.stamp = stampOf(path);
    if (read.stamp == before) {
      return read;
    }
  }
  read.image.pixels.reset();
  read.report = TextureLoad{};
  read.report.problem = "it kept changing while it was read";
  return read;
}

void work(const std::shared_ptr<MapReaderState>& state) {
  std::unique_lock<std::mutex> held(state->lock);
  for (;;) {
    state->changed.wait(held, [&] { return state->ending || !state->queue.empty(); });
    if (state->ending) {
      return;
    }
    const MapRequest request = state->queue.front();
    state->queue.pop_front();
    state->reading = request.index;
    held.unlock();
    MapRead read = readSteady(request.path, state->largestSide);
    held.lock();
    state->done[request.index] = std::move(read);
    state->reading = MapReaderState::kNone;
    state->changed.notify_all();
  }
}

bool isWaiting(const MapReaderState& state, std::size_t index) {
  return std::any_of(state.queue.begin(), state.queue.end(),
                     [&](const MapRequest& request) { return request.index == index; });
}

}  // namespace

void startMapReader(MapReader& reader, int largestSide) {
  reader.state = std::make_shared<MapReaderState>();
  reader.state->largestSide = largestSide;
  reader.worker = std::thread(work, reader.state);
}

// The worker is told to stop and let go; what it shares lives on with it while it finishes
// the read it is in.
MapReader::~MapReader() {
  if (state == nullptr) {
    return;
  }
  {
    const std::lock_guard<std::mutex> held(state->lock);
    state->ending = true;
    state->queue.clear();
  }
  state->changed.notify_all();
  worker.detach();
}

void readAhead(MapReader& reader, const std::vector<MapRequest>& wanted) {
  MapReaderState& state = *reader.state;
  const auto isWanted = [&](std::size_t index) {
    return std::any_of(wanted.begin(), wanted.end(),
                       [&](const MapRequest& request) { return request.index == index; });
  };
  {
    const std::lock_guard<std::mutex> held(state.lock);
    state.queue.clear();
    for (auto read = state.done.begin(); read != state.done.end();) {
      read = isWanted(read->first) ? std::next(read) : state.done.erase(read);
    }
    for (const MapRequest& request : wanted) {
      if (request.index != state.reading && state.done.count(request.index) == 0) {
        state.queue.push_back(request);
      }
    }
  }
  state.changed.notify_all();
}

void askForMap(MapReader& reader, const MapRequest& request) {
  MapReaderState& state = *reader.state;
  {
    const std::lock_guard<std::mutex> held(state.lock);
    state.done.erase(request.index);
    if (!isWaiting(state, request.index)) {
      state.queue.push_front(request);
    }
  }
  state.changed.notify_all();
}

MapRead takeMapRead(MapReader& reader, const MapRequest& request) {
  MapReaderState& state = *reader.state;
  for (int tries = 0;; ++tries) {
    std::unique_lock<std::mutex> held(state.lock);
    if (state.done.count(request.index) == 0 && state.reading != request.index &&
        !isWaiting(state, request.index)) {
      state.queue.push_front(request);
      state.changed.notify_all();
    }
    state.changed.wait(held, [&] { return state.done.count(request.index) != 0; });
    MapRead read = std::move(state.done[request.index]);
    state.done.erase(request.index);
    held.unlock();
    // Read ahead a while ago: the file may have changed since.
    if (tries + 1 >= kReadTries || stampOf(request.path) == read.stamp) {
      return read;
    }
  }
}

bool takeMapReadIfDone(MapReader& reader, std::size_t index, MapRead* read) {
  MapReaderState& state = *reader.state;
  const std::lock_guard<std::mutex> held(state.lock);
  const auto found = state.done.find(index);
  if (found == state.done.end()) {
    return false;
  }
  *read = std::move(found->second);
  state.done.erase(found);
  return true;
}
