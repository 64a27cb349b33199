// Reading a large env.ppm against reading the same bytes from the page cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "texture/ppm_reader.h"

namespace {

constexpr int kSide = 4096;

// A 4096 × 4096 image in the temporary folder, written once per run.
const std::string& largeImage() {
  static const std::string path = [] {
    const char* base = std::getenv("TMPDIR");
    std::string file = std::string(base != nullptr ? base : "/tmp") + "/velkarin-bench-4096.ppm";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fprintf(out, "P6\n%d %d\n255\n", kSide, kSide);
    std::vector<unsigned char> row(kSide * 3);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide * 3; ++x)
        row[x] = static_cast<unsigned char>(x ^ y);
      std::fwrite(row.data(), 1, row.size(), out);
    }
    std::fclose(out);
    return file;
  }();
  return path;
}

void readPpmFile(benchmark::State& state) {
  const std::string& path = largeImage();
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ImageBuffer image;
    PpmSize size;
    if (readPpm(file, &image, &size) != PpmStatus::Ok)
      state.SkipWithError("read failed");
    std::fclose(file);
    benchmark::DoNotOptimize(image.pixels.get());
    // The viewer keeps its image for the whole run: releasing it is not part of a load.
    state.PauseTiming();
    image.pixels.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * (int64_t{kSide} * kSide * 3));
}

// What `cat file > /dev/null` does: read() into a 128 KiB buffer until the end.
void pageCacheRead(benchmark::State& state) {
  const std::string& path = largeImage();
  std::vector<char> buffer(128 * 1024);
  for (auto _ : state) {
    const int fd = open(path.c_str(), O_RDONLY);
    while (read(fd, buffer.data(), buffer.size()) > 0) {
    }
    close(fd);
  }
  state.SetBytesProcessed(state.iterations() * (int64_t{kSide} * kSide * 3));
}

}  // namespace

BENCHMARK(readPpmFile)->Unit(benchmark::kMillisecond);
BENCHMARK(pageCacheRead)->Unit(benchmark::kMillisecond);
