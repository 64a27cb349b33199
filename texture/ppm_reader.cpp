#include "texture/ppm_reader.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr int kMaxValue = 255;
constexpr int kBytesPerPixel = 3;

using Line = char[kPpmLineLength + 1];

bool readLine(std::FILE* file, Line& line) {
  return std::fgets(line, sizeof line, file) != nullptr;
}

// Accumulates decimal digits, refusing values beyond int instead of overflowing.
bool appendDigit(int& value, int digit) {
  if (value > (std::numeric_limits<int>::max() - digit) / 10) {
    return false;
  }
  value = value * 10 + digit;
  return true;
}

// A decimal integer as "%d" reads it: leading white space, an optional sign, digits. Out of
// range is a failure here, where scanf's behaviour would be undefined.
bool parseInt(const char*& text, int* out) {
  while (std::isspace(static_cast<unsigned char>(*text)))
    ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+')
    ++text;
  if (!std::isdigit(static_cast<unsigned char>(*text)))
    return false;
  int value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    if (!appendDigit(value, *text - '0'))
      return false;
  }
  *out = negative ? -value : value;
  return true;
}

// The same from the stream; the character after the number is pushed back, as scanf does.
bool scanInt(std::FILE* file, int* out) {
  int c = std::fgetc(file);
  while (c != EOF && std::isspace(c))
    c = std::fgetc(file);
  const bool negative = c == '-';
  if (c == '-' || c == '+')
    c = std::fgetc(file);
  if (c == EOF || !std::isdigit(c))
    return false;
  int value = 0;
  for (; c != EOF && std::isdigit(c); c = std::fgetc(file)) {
    if (!appendDigit(value, c - '0'))
      return false;
  }
  if (c != EOF)
    std::ungetc(c, file);
  *out = negative ? -value : value;
  return true;
}

// The size line follows the magic line and any whole comment lines.
bool readSizeLine(std::FILE* file, Line& line) {
  if (!readLine(file, line) || std::strncmp(line, "P6", 2) != 0) {
    return false;
  }
  do {
    if (!readLine(file, line)) {
      return false;
    }
  } while (line[0] == '#');
  return true;
}

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

// Bytes left from the current position, or -1 when the stream cannot tell (a pipe, say).
long remainingBytes(std::FILE* file) {
  const long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) {
    return -1;
  }
  const long end = std::ftell(file);
  if (std::fseek(file, here, SEEK_SET) != 0 || end < here) {
    return -1;
  }
  return end - here;
}

// Magic line, comment lines, size line and maximum value. The rest of the maximum value's
// line is left unread.
bool readHeader(std::FILE* file, PpmSize* size) {
  Line line;
  if (!readSizeLine(file, line)) {
    return false;
  }
  const char* cursor = line;
  int maxValue = 0;
  return parseInt(cursor, &size->width) && parseInt(cursor, &size->height) &&
         scanInt(file, &maxValue) && maxValue == kMaxValue;
}

// The image's size in bytes, or 0 when the size is not positive or the byte count would not
// fit the int GL takes sizes in: such a claim is refused, never allocated short.
std::size_t imageBytes(PpmSize size) {
  if (size.width <= 0 || size.height <= 0) {
    return 0;
  }
  const std::int64_t pixelCount = std::int64_t{size.width} * size.height;  // below 2^62
  if (pixelCount > std::numeric_limits<std::int32_t>::max() / kBytesPerPixel) {
    return 0;
  }
  return static_cast<std::size_t>(pixelCount * kBytesPerPixel);
}

}  // namespace

bool readPpm(std::FILE* file, ImageBuffer* image, PpmSize* size) {
  image->pixels.reset();
  PpmSize header;
  if (!readHeader(file, &header)) {
    return false;
  }
  const std::size_t bytes = imageBytes(header);
  if (bytes == 0) {
    return false;
  }
  // A small file claiming a huge image cannot fill it: refuse before reserving the claim.
  const long remaining = remainingBytes(file);
  if (remaining >= 0 && static_cast<unsigned long>(remaining) < bytes) {
    return false;
  }
  image->pixels.reset(allocatePixels(bytes));
  if (!image->pixels) {
    return false;
  }
  Line rest;
  readLine(file, rest);  // the rest of the maximum value's line ends the header
  if (std::fread(image->pixels.get(), 1, bytes, file) < bytes) {
    image->pixels.reset();
    return false;
  }
  *size = header;
  return true;
}
