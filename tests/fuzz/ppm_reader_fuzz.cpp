// libFuzzer target: any bytes as a map, read as the viewer reads a named one: by its first
// byte, as a PPM by the PPM reader's rules or a PNG or JPEG through its library. No reader may
// crash or read out of bounds, and each must keep its promise: pixels exactly when it reports
// success, and as many as its size says.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <string>

#include "tests/support/ppm_read.h"
#include "texture/map_decoders.h"
#include "texture/ppm_reader.h"

namespace {

// As a GL that takes sides up to 1024 would: larger claims are refused from the header.
constexpr int kLargestSide = 1024;

bool readAsPpm(const std::uint8_t* data, std::size_t size, ImageBuffer* image, PpmSize* ppmSize) {
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (file == nullptr) {
    return false;
  }
  const bool ok = readPpm(file, image, ppmSize) == PpmStatus::Ok;
  std::fclose(file);
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;  // fmemopen refuses an empty buffer; the empty file is a unit test case
  }
  ImageBuffer image;
  PpmSize ppmSize;
  const MapKind kind = mapKindOf(data[0]);
  bool ok = false;
  if (kind == MapKind::Ppm) {
    ok = readAsPpm(data, size, &image, &ppmSize);
  } else {
    const auto fits = [](PpmSize s) { return s.width <= kLargestSide && s.height <= kLargestSide; };
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const MapDecode decoded = decodeMap(kind, bytes, fits, &image, &ppmSize);
    ok = decoded.problem.empty() && !decoded.refusedBySize;
  }
  if (ok != (image.pixels != nullptr)) {
    __builtin_trap();
  }
  if (ok) {
    const std::size_t bytes = static_cast<std::size_t>(ppmSize.width) * ppmSize.height * 3;
    // A PPM's pixels come from the file itself; a compressed map's are bounded by its side.
    if (kind == MapKind::Ppm ? bytes > size : ppmSize.width > kLargestSide) {
      __builtin_trap();
    }
    // Touch every byte the reader claims to own.
    volatile unsigned sum = 0;
    for (std::size_t i = 0; i < bytes; ++i)
      sum = sum + image.pixels[i];
  }
  return 0;
}
