#include "maps/map_reader.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <new>

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#endif

struct MapReaderState {
  std::mutex lock;
  std::condition_variable changed;  // a request came, a read ended, or the process is ending
  std::deque<MapAsked> queue;
  std::map<std::size_t, MapRead> done;
  std::map<std::size_t, int> staleTakes;  // results dropped in a row for a file that changed
  std::size_t reading = kNone;            // the index being read
  bool readingWanted = false;             // its result is still wanted when it comes
  bool ending = false;

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
};

namespace {

// How often a file that keeps changing while it is read is tried before it counts as broken;
// and how often a result is dropped for a file changed since, before it is taken as it is.
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

MapRead failedRead(const char* why) {
  MapRead read;
  read.report.problem = why;
  return read;
}

// Whatever befalls one read is that map's reason: the worker itself never ends on it.
MapRead readGuarded(const MapDecoder& decode, const MapAsked& request) {
  try {
    return decode(request);
  } catch (const std::bad_alloc&) {
    return failedRead(kNoMemoryToRead);
  } catch (const std::exception& error) {
    return failedRead(error.what());
  } catch (...) {
    return failedRead("it could not be read");
  }
}

void work(const std::shared_ptr<MapReaderState>& state, const MapDecoder& decode) {
  std::unique_lock<std::mutex> held(state->lock);
  for (;;) {
    state->changed.wait(held, [&] { return state->ending || !state->queue.empty(); });
    if (state->ending) {
      return;
    }
    const MapAsked request = state->queue.front();
    state->queue.pop_front();
    state->reading = request.index;
    state->readingWanted = true;
    held.unlock();
    MapRead read = readGuarded(decode, request);
    held.lock();
    if (state->readingWanted) {
      state->done[request.index] = std::move(read);
    }
    state->reading = MapReaderState::kNone;
    state->changed.notify_all();
  }
}

bool isWaiting(const MapReaderState& state, std::size_t index) {
  return std::any_of(state.queue.begin(), state.queue.end(),
                     [&](const MapAsked& request) { return request.index == index; });
}

// A thread that takes no signal: the mask it starts with is its creator's, so every signal is
// blocked around its creation (as Mesa starts its own threads), and none can reach it even
// before its first instruction.
template <typename Job>
std::thread startWithoutSignals(Job job) {
#ifndef _WIN32
  sigset_t all;
  sigset_t before;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &before);
  std::thread thread(std::move(job));
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  return thread;
#else
  return std::thread(std::move(job));
#endif
}

}  // namespace

void startMapReader(MapReader& reader, MapDecoder decode) {
  reader.state = std::make_shared<MapReaderState>();
  reader.worker = startWithoutSignals(
      [state = reader.state, decode = std::move(decode)] { work(state, decode); });
}

MapDecoder mapFileDecoder(int largestSide) {
  return [largestSide](const MapAsked& request) { return readSteady(request.path, largestSide); };
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

void readAhead(MapReader& reader, const std::vector<MapAsked>& wanted) {
  MapReaderState& state = *reader.state;
  const auto isWanted = [&](std::size_t index) {
    return std::any_of(wanted.begin(), wanted.end(),
                       [&](const MapAsked& request) { return request.index == index; });
  };
  {
    const std::lock_guard<std::mutex> held(state.lock);
    state.queue.clear();
    for (auto read = state.done.begin(); read != state.done.end();) {
      read = isWanted(read->first) ? std::next(read) : state.done.erase(read);
    }
    if (state.reading != MapReaderState::kNone) {
      state.readingWanted = isWanted(state.reading);
    }
    for (const MapAsked& request : wanted) {
      if (request.index != state.reading && state.done.count(request.index) == 0) {
        state.queue.push_back(request);
      }
    }
  }
  state.changed.notify_all();
}

void forgetReads(MapReader& reader) {
  MapReaderState& state = *reader.state;
  const std::lock_guard<std::mutex> held(state.lock);
  state.queue.clear();
  state.done.clear();
  state.staleTakes.clear();
  state.readingWanted = false;
}

void askForMap(MapReader& reader, const MapAsked& request) {
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

bool takeMapRead(MapReader& reader, const MapAsked& request, double waitSeconds, MapRead* read) {
  MapReaderState& state = *reader.state;
  std::unique_lock<std::mutex> held(state.lock);
  const bool asked = state.done.count(request.index) != 0 ||
                     (state.reading == request.index && state.readingWanted) ||
                     isWaiting(state, request.index);
  if (!asked) {
    state.queue.push_front(request);
    state.changed.notify_all();
  }
  const auto wait = std::chrono::duration<double>(std::max(waitSeconds, 0.0));
  if (!state.changed.wait_for(held, wait, [&] { return state.done.count(request.index) != 0; })) {
    return false;
  }
  MapRead taken = std::move(state.done[request.index]);
  state.done.erase(request.index);
  const int staleBefore = state.staleTakes[request.index];
  held.unlock();
  // Read ahead a while ago: the file may have changed since. One that never stops changing is
  // taken as it was read, after a few tries, rather than waited for for ever.
  if (stampOf(request.path) != taken.stamp && staleBefore + 1 < kReadTries) {
    held.lock();
    state.staleTakes[request.index] = staleBefore + 1;
    if (!isWaiting(state, request.index)) {
      state.queue.push_front(request);
    }
    state.changed.notify_all();
    return false;
  }
  held.lock();
  state.staleTakes.erase(request.index);
  *read = std::move(taken);
  return true;
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
