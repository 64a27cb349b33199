// Reading a large env.ppm against reading the same bytes from the page cache, and decoding
// PNG and JPEG maps.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "texture/map_decoders.h"
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
    if (readPpmHeader(file, &size) != PpmStatus::Ok ||
        readPpmPixels(file, size, &image) != PpmStatus::Ok)
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

// A 2048 × 2048 PNG or JPEG map that run_benchmarks.sh made, read and decoded as the viewer
// does a named map: the whole file, then its library. Its path comes from the environment.
void decodeMapFile(benchmark::State& state, const char* variable, MapKind kind) {
  const char* path = std::getenv(variable);
  if (path == nullptr) {
    state.SkipWithError("no map named in the environment");
    return;
  }
  const auto fits = [](PpmSize) { return true; };
  for (auto _ : state) {
    std::FILE* file = std::fopen(path, "rb");
    std::string bytes;
    char chunk[1 << 16];
    for (std::size_t got = 0; file && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
      bytes.append(chunk, got);
    }
    if (file != nullptr) {
      std::fclose(file);
    }
    ImageBuffer image;
    PpmSize size;
    if (!decodeMap(kind, bytes, fits, &image, &size).problem.empty()) {
      state.SkipWithError("decode failed");
    }
    benchmark::DoNotOptimize(image.pixels.get());
    state.PauseTiming();
    image.pixels.reset();
    state.ResumeTiming();
  }
}

void decodePngMap(benchmark::State& state) {
  decodeMapFile(state, "VELKARIN_BENCH_PNG", MapKind::Png);
}

void decodeJpegMap(benchmark::State& state) {
  decodeMapFile(state, "VELKARIN_BENCH_JPEG", MapKind::Jpeg);
}

}  // namespace

BENCHMARK(decodePngMap)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeJpegMap)->Unit(benchmark::kMillisecond);
BENCHMARK(readPpmFile)->Unit(benchmark::kMillisecond);
BENCHMARK(pageCacheRead)->Unit(benchmark::kMillisecond);
