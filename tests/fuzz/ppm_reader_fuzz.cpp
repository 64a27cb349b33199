// libFuzzer target: any bytes as an env.ppm. The reader must never crash or read out of
// bounds, and must keep its promise: pixels exactly when it reports success.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "texture/ppm_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;  // fmemopen refuses an empty buffer; the empty file is a unit test case
  }
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (file == nullptr) {
    return 0;
  }
  ImageBuffer image;
  PpmSize ppmSize;
  const bool ok = readPpm(file, &image, &ppmSize) == PpmStatus::Ok;
  std::fclose(file);
  if (ok != (image.pixels != nullptr)) {
    __builtin_trap();
  }
  if (ok) {
    const std::size_t bytes = static_cast<std::size_t>(ppmSize.width) * ppmSize.height * 3;
    if (bytes > size) {
      __builtin_trap();
    }
    // Touch every byte the reader claims to own.
    volatile unsigned sum = 0;
    for (std::size_t i = 0; i < bytes; ++i)
      sum = sum + image.pixels[i];
  }
  return 0;
}
