// The environment image's pixel bytes as the scene keeps them. Free of GL, so the reader that
// fills it can be built and fuzzed without OpenGL.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

// Pixel memory is aligned for huge pages, so that a large image is mapped in few steps.
inline constexpr std::size_t kPixelAlignment = std::size_t{2} << 20;

// Releases pixel memory the way it was allocated: aligned.
struct PixelRelease {
  void operator()(unsigned char* pixels) const {
    ::operator delete[](pixels, std::align_val_t{kPixelAlignment});
  }
};

// Pixel bytes of the environment image: RGB triplets, rows in file order, or null.
struct ImageBuffer {
  std::unique_ptr<unsigned char[], PixelRelease> pixels;
};
