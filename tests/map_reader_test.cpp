// The map reader's worker, the bound of its reads and the texture budget, without GL: the
// decode is a function of the test's, which records what it was asked for, holds a read where
// told, or throws.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "files/file_owner.h"
#include "files/input_file.h"
#include "maps/map_cache.h"
#include "maps/map_folders.h"
#include "maps/map_reader.h"
#include "maps/quiet_file.h"

namespace {

constexpr double kLongWait = 10.0;

// A decoder under the test's hand: each read is noted in order; a read of `held` waits until
// let go; "bad_alloc" and "throw" as a path throw.
struct Decoder {
  std::mutex lock;
  std::condition_variable changed;
  std::vector<std::size_t> order;
  std::size_t held = static_cast<std::size_t>(-1);
  bool reading = false;
  bool blocksSignals = true;
  bool workerGone = false;  // the worker has ended and let go of this decoder

  MapDecoder function() {
    // Held by the worker's copy of the function alone: it goes when the worker ends.
    const std::shared_ptr<void> lifetime(nullptr, [this](void*) {
      const std::lock_guard<std::mutex> held_(lock);
      workerGone = true;
      changed.notify_all();
    });
    return [this, lifetime](const MapAsked& request) {
      sigset_t mask;
      pthread_sigmask(SIG_BLOCK, nullptr, &mask);
      const FileStamp stamp = stampOf(request.path);  // as a read begins
      std::unique_lock<std::mutex> held_(lock);
      order.push_back(request.index);
      blocksSignals = blocksSignals && sigismember(&mask, SIGINT) && sigismember(&mask, SIGTERM) &&
                      sigismember(&mask, SIGHUP);
      reading = true;
      changed.notify_all();
      changed.wait(held_, [&] { return held != request.index; });
      reading = false;
      if (request.path == "bad_alloc") {
        throw std::bad_alloc();
      }
      if (request.path == "throw") {
        throw std::runtime_error("the decoder failed");
      }
      MapRead read;
      read.report.size = {static_cast<int>(request.index), 1};
      read.stamp = stamp;
      return read;
    };
  }
  void waitUntilReading() {
    std::unique_lock<std::mutex> held_(lock);
    changed.wait(held_, [&] { return reading; });
  }
  void waitUntilWorkerGone() {
    std::unique_lock<std::mutex> held_(lock);
    changed.wait(held_, [&] { return workerGone; });
  }
  void letGo() {
    const std::lock_guard<std::mutex> held_(lock);
    held = static_cast<std::size_t>(-1);
    changed.notify_all();
  }
};

// A reader whose worker reads with the test's decoder. The worker is let go when the reader
// goes, and still holds the decoder until it ends: the decoder is kept until then.
struct Reading {
  Decoder decoder;
  std::optional<MapReader> owner;
  MapReader& reader;
  explicit Reading(std::size_t held = static_cast<std::size_t>(-1)) : reader(owner.emplace()) {
    decoder.held = held;
    startMapReader(reader, decoder.function());
  }
  ~Reading() {
    owner.reset();
    decoder.letGo();
    decoder.waitUntilWorkerGone();
  }
};

MapAsked request(std::size_t index, const std::string& path = "") {
  return {index, path.empty() ? "map" + std::to_string(index) : path};
}

}  // namespace

TEST(MapReader, ReadsInTheOrderAskedOnAThreadThatTakesNoSignal) {
  Reading reading;
  Decoder& decoder = reading.decoder;
  MapReader& reader = reading.reader;
  readAhead(reader, {request(2), request(0), request(1)});
  MapRead read;
  ASSERT_TRUE(takeMapRead(reader, request(1), kLongWait, &read));
  EXPECT_EQ(read.report.size.width, 1);
  EXPECT_EQ(decoder.order, (std::vector<std::size_t>{2, 0, 1}));
  EXPECT_TRUE(decoder.blocksSignals);
  // A map not asked for is asked for by taking it; one finished is there without waiting.
  ASSERT_TRUE(takeMapRead(reader, request(7), kLongWait, &read));
  EXPECT_TRUE(takeMapRead(reader, request(2), 0.0, &read));
  EXPECT_FALSE(takeMapReadIfDone(reader, 2, &read));  // taken once only
}

TEST(MapReader, AMapNoLongerWantedIsDroppedAndTheNewestWishIsReadNext) {
  Reading reading(1);
  Decoder& decoder = reading.decoder;
  MapReader& reader = reading.reader;
  readAhead(reader, {request(1), request(2)});
  decoder.waitUntilReading();
  MapRead read;
  EXPECT_FALSE(takeMapRead(reader, request(1), 0.05, &read));  // still being read: no wait beyond
  readAhead(reader, {request(5)});  // Page Down went on: 1 and 2 are no longer wanted
  decoder.letGo();
  ASSERT_TRUE(takeMapRead(reader, request(5), kLongWait, &read));
  EXPECT_FALSE(takeMapReadIfDone(reader, 1, &read));           // its result thrown away
  EXPECT_EQ(decoder.order, (std::vector<std::size_t>{1, 5}));  // 2 never begun
}

TEST(MapReader, AFailureOnTheWorkerIsThatMapsReasonAndTheWorkerGoesOn) {
  const struct {
    const char* path;
    const char* reason;
  } cases[] = {{"bad_alloc", kNoMemoryToRead}, {"throw", "the decoder failed"}};
  Reading reading;
  MapReader& reader = reading.reader;
  std::size_t index = 0;
  for (const auto& failure : cases) {
    MapRead read;
    ASSERT_TRUE(takeMapRead(reader, request(index, failure.path), kLongWait, &read));
    EXPECT_EQ(read.report.problem, failure.reason);
    EXPECT_EQ(read.image.pixels, nullptr);
    ++index;
  }
  MapRead after;
  EXPECT_TRUE(takeMapRead(reader, request(9), kLongWait, &after));
  EXPECT_EQ(after.report.problem, "");
}

TEST(MapReader, EndsWhileAReadIsUnderWayWithoutWaitingForIt) {
  Decoder decoder;
  decoder.held = 3;
  {
    MapReader reader;
    startMapReader(reader, decoder.function());
    readAhead(reader, {request(3), request(4)});
    decoder.waitUntilReading();
  }  // let go while it reads 3; 4 is never begun
  decoder.letGo();
  decoder.waitUntilWorkerGone();
  const std::lock_guard<std::mutex> held(decoder.lock);
  EXPECT_EQ(decoder.order, (std::vector<std::size_t>{3}));
}

TEST(MapReader, AMapChangedOnDiskAfterItWasReadAheadIsReadAgain) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("velkarin-reader-" + std::to_string(getpid())))
          .string();
  std::ofstream(path) << "before";
  Reading reading(0);
  Decoder& decoder = reading.decoder;
  MapReader& reader = reading.reader;
  readAhead(reader, {request(0, path)});
  decoder.waitUntilReading();
  std::ofstream(path) << "after, longer";
  decoder.letGo();
  MapRead read;
  EXPECT_FALSE(takeMapRead(reader, request(0, path), kLongWait, &read));  // read before it
  ASSERT_TRUE(takeMapRead(reader, request(0, path), kLongWait, &read));
  EXPECT_EQ(read.stamp, stampOf(path));
  EXPECT_EQ(decoder.order.size(), 2u);
  std::filesystem::remove(path);
}

TEST(TextureBudget, DropsTheLeastRecentlyShownBeyondTheBudgetAndNeverTheShownOrItsNeighbours) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  const struct {
    const char* what;
    std::vector<std::size_t> megabytes;  // each map's texture; 0: none
    std::vector<std::uint64_t> showings;
    std::size_t shown;
    std::size_t kept;
    std::vector<std::size_t> dropped;
  } cases[] = {
      {"within the budget", {40, 40, 40, 0, 0, 0, 0}, {1, 2, 3, 0, 0, 0, 0}, 2, kNoMap, {}},
      {"beyond it, the least recently shown first, until within it",
       {64, 0, 0, 0, 64, 64, 64, 0, 0, 0},
       {9, 0, 0, 0, 2, 1, 3, 0, 0, 0},
       0,
       kNoMap,
       {5, 4}},
      {"beyond it, but every texture beside the shown one",
       {64, 64, 64, 0, 0, 0, 64, 64},
       {5, 1, 2, 0, 0, 0, 3, 4},
       0,
       kNoMap,
       {}},
      {"as many as may go, all far from the shown",
       {64, 64, 0, 0, 64, 0, 0, 64, 0, 0, 64},
       {1, 2, 0, 0, 3, 0, 0, 4, 0, 0, 9},
       10,
       kNoMap,
       {4, 7}},
      {"never the one whose pixels the scene keeps",
       {64, 0, 0, 64, 0, 64, 0, 64, 0, 0},
       {1, 0, 0, 2, 0, 3, 0, 4, 0, 0},
       9,
       3,
       {5}},
  };
  for (const auto& test : cases) {
    Maps maps;
    for (std::size_t index = 0; index < test.megabytes.size(); ++index) {
      maps.list.emplace_back();
      maps.list.back().texture = test.megabytes[index] > 0 ? static_cast<GLuint>(index + 1) : 0;
      maps.list.back().textureBytes = test.megabytes[index] * kMiB;
      maps.list.back().lastShown = test.showings[index];
    }
    maps.shown = test.shown;
    maps.kept = test.kept;
    EXPECT_EQ(texturesToDrop(maps), test.dropped) << test.what;
  }
}

TEST(MapFolders, AListingAddsAndDropsMapsKeepingEachOnesRecordAndTheShownOneInPlace) {
  const struct {
    const char* what;
    std::vector<std::string> old;  // "-" after a name: gone already
    std::vector<std::string> listed;
    std::vector<bool> stays;
    std::vector<std::string> list;  // each map's path, "-" after one that stays though gone
    std::vector<std::size_t> moved;
  } cases[] = {
      {"one saved in between", {"a", "c"}, {"a", "b", "c"}, {false, true}, {"a", "b", "c"}, {0, 2}},
      {"one removed",
       {"a", "b", "c"},
       {"a", "c"},
       {true, false, false},
       {"a", "c"},
       {0, kNoMap, 1}},
      {"the shown one removed stays after the one it followed",
       {"a", "b", "c"},
       {"a", "c"},
       {false, true, false},
       {"a", "b-", "c"},
       {0, 1, 2}},
      {"the shown first one removed stays first",
       {"a", "b"},
       {"b"},
       {true, false},
       {"a-", "b"},
       {0, 1}},
      {"a path listed twice takes its records in turn",
       {"a", "a"},
       {"a", "a", "b"},
       {false, true},
       {"a", "a", "b"},
       {0, 1}},
      {"a gone map saved again is there again",
       {"a", "b-"},
       {"a", "b"},
       {false, true},
       {"a", "b"},
       {0, 1}},
      {"all removed but the shown",
       {"a", "b", "c"},
       {},
       {false, false, true},
       {"c-"},
       {kNoMap, kNoMap, 0}},
  };
  for (const auto& test : cases) {
    std::vector<Map> old;
    for (std::size_t index = 0; index < test.old.size(); ++index) {
      old.emplace_back();
      old.back().path = test.old[index].substr(0, 1);
      old.back().gone = test.old[index].size() > 1;
      old.back().texture = static_cast<GLuint>(index + 1);
    }
    const Relisted relisted = relistMaps(old, test.listed, test.stays);
    std::vector<std::string> list;
    for (const Map& map : relisted.list) {
      list.push_back(map.path + (map.gone ? "-" : ""));
    }
    EXPECT_EQ(list, test.list) << test.what;
    EXPECT_EQ(relisted.moved, test.moved) << test.what;
    for (std::size_t index = 0; index < old.size(); ++index) {
      if (relisted.moved[index] != kNoMap) {
        EXPECT_EQ(relisted.list[relisted.moved[index]].texture, old[index].texture) << test.what;
      }
    }
    EXPECT_EQ(relisted.dropped.size(),
              static_cast<std::size_t>(std::count(test.moved.begin(), test.moved.end(), kNoMap)))
        << test.what;
  }
}

TEST(MapFile, AStreamThatNeverEndsIsCutAtItsBoundWithoutDoublingPastIt) {
  constexpr std::size_t kMost = std::size_t{5} << 20;
  constexpr std::size_t kChunk = std::size_t{1} << 16;
  const FileOwner zeros(std::fopen("/dev/zero", "rb"));
  ASSERT_NE(zeros, nullptr);
  std::string bytes;
  EXPECT_EQ(readWhole(zeros.get(), kMost, &bytes), "");
  EXPECT_GT(bytes.size(), kMost);  // more than the bound: the caller's refusal
  EXPECT_LE(bytes.capacity(), kMost + 2 * kChunk);
}

TEST(QuietFile, AChangeIsReadOnceTheFileHasBeenQuietAQuarterOfASecondAndAFailureOnce) {
  const auto stamp = [](std::int64_t size) {
    FileStamp s;
    s.exists = true;
    s.size = size;
    return s;
  };
  const FileStamp shown = stamp(100);
  FileStamp said;  // no failure said yet
  QuietWatch watch;
  // A save growing the file over half a second, looked at every tenth, then left as it is.
  const struct {
    double seconds;
    std::int64_t size;
    bool read;
  } looks[] = {{0.0, 100, false}, {0.1, 10, false},  {0.2, 40, false},  {0.3, 70, false},
               {0.4, 90, false},  {0.5, 120, false}, {0.6, 120, false}, {0.7, 120, false},
               {0.75, 120, true}, {0.85, 120, false}};
  for (const auto& look : looks) {
    EXPECT_EQ(isQuietChange(watch, stamp(look.size), look.seconds, shown, said), look.read)
        << look.seconds;
    if (look.read) {
      said = stamp(look.size);  // it failed: said once, not read again while it stays so
    }
  }
  // Another change is another read, once quiet.
  EXPECT_FALSE(isQuietChange(watch, stamp(130), 1.0, shown, said));
  EXPECT_TRUE(isQuietChange(watch, stamp(130), 1.3, shown, said));
}
