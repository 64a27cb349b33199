#include "texture/pixel_buffer.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

// Fresh memory is mapped and cleared by the kernel page by page on first touch; for a large
// image, huge pages make that a few hundred steps instead of thousands, which is most of the
// time a load takes once the file is in the page cache.
unsigned char* allocatePixels(std::size_t bytes) {
  auto* pixels = static_cast<unsigned char*>(
      ::operator new[](bytes, std::align_val_t{kPixelAlignment}, std::nothrow));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (pixels != nullptr && bytes >= kPixelAlignment) {
    madvise(pixels, bytes, MADV_HUGEPAGE);  // only advice: without it the read still works
  }
#endif
  return pixels;
}
