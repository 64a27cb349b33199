#include "texture/ppm_reader.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "texture/pixel_buffer.h"

namespace {

constexpr int kMaxValue = 255;
constexpr int kBytesPerPixel = 3;

using Line = char[kPpmLineLength + 1];

bool readLine(std::FILE* file, Line& line) {
  return std::fgets(line, sizeof line, file) != nullptr;
}

// What became of reading one decimal integer.
enum class Number { Read, Missing, OutOfRange };

// Accumulates decimal digits, refusing values beyond int instead of overflowing.
bool appendDigit(int& value, int digit) {
  if (value > (std::numeric_limits<int>::max() - digit) / 10) {
    return false;
  }
  value = value * 10 + digit;
  return true;
}

// A decimal integer as "%d" reads it: leading white space, an optional sign, digits. Characters
// come from next(), EOF at the end; the one after the number is handed back through back(c), as
// scanf pushes it back. Out of range is refused here, where scanf's behaviour would be
// undefined.
template <typename Next, typename Back>
Number scanDecimal(Next next, Back back, int* out) {
  int c = next();
  while (c != EOF && std::isspace(c))
    c = next();
  const bool negative = c == '-';
  if (c == '-' || c == '+')
    c = next();
  if (c == EOF || !std::isdigit(c))
    return Number::Missing;
  int value = 0;
  for (; c != EOF && std::isdigit(c); c = next()) {
    if (!appendDigit(value, c - '0'))
      return Number::OutOfRange;
  }
  if (c != EOF)
    back(c);
  *out = negative ? -value : value;
  return Number::Read;
}

// From a line, leaving `text` just past the number.
Number parseInt(const char*& text, int* out) {
  return scanDecimal([&] { return *text != '\0' ? static_cast<unsigned char>(*text++) : EOF; },
                     [&](int) { --text; }, out);
}

// From the stream.
Number scanInt(std::FILE* file, int* out) {
  return scanDecimal([&] { return std::fgetc(file); }, [&](int c) { std::ungetc(c, file); }, out);
}

// Whether a header line was cut at the length limit, its remainder still to come.
bool isCut(const Line& line) {
  const std::size_t length = std::strlen(line);
  return length == kPpmLineLength && line[length - 1] != '\n';
}

// The size line follows the magic line and any whole comment lines. *afterCut tells whether
// it is the remainder of a line too long to read whole.
PpmStatus readSizeLine(std::FILE* file, Line& line, bool* afterCut) {
  if (!readLine(file, line) || std::strncmp(line, "P6", 2) != 0) {
    return PpmStatus::NotBinaryPpm;
  }
  do {
    *afterCut = isCut(line);
    if (!readLine(file, line)) {
      return PpmStatus::HeaderEndsEarly;
    }
  } while (line[0] == '#');
  return PpmStatus::Ok;
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

// Width and height from the size line; a number beyond int is a size too large to take.
PpmStatus parseSize(const char* line, PpmSize* size) {
  for (int* dimension : {&size->width, &size->height}) {
    switch (parseInt(line, dimension)) {
      case Number::Read:
        break;
      case Number::Missing:
        return PpmStatus::NoSize;
      case Number::OutOfRange:
        return PpmStatus::TooLarge;
    }
  }
  return PpmStatus::Ok;
}

PpmStatus readMaximum(std::FILE* file) {
  int maxValue = 0;
  const Number number = scanInt(file, &maxValue);
  if (number == Number::Missing) {
    return PpmStatus::NoMaximum;
  }
  return number == Number::Read && maxValue == kMaxValue ? PpmStatus::Ok : PpmStatus::MaximumNot255;
}

// Magic line, comment lines, size line and maximum value. The rest of the maximum value's
// line is left unread.
PpmStatus readHeader(std::FILE* file, PpmSize* size) {
  Line line;
  bool afterCut = false;
  PpmStatus status = readSizeLine(file, line, &afterCut);
  if (status == PpmStatus::Ok) {
    status = parseSize(line, size);
  }
  // A remainder that fails as a size line fails because its line was too long: say that.
  if (status == PpmStatus::NoSize && afterCut) {
    return PpmStatus::HeaderLineTooLong;
  }
  return status == PpmStatus::Ok ? readMaximum(file) : status;
}

// The byte count GL takes as an int; a claim beyond it is refused, never allocated short.
PpmStatus checkSize(PpmSize size, std::size_t* bytes) {
  if (size.width <= 0 || size.height <= 0) {
    return PpmStatus::SizeNotPositive;
  }
  const std::int64_t pixelCount = std::int64_t{size.width} * size.height;  // below 2^62
  if (pixelCount > std::numeric_limits<std::int32_t>::max() / kBytesPerPixel) {
    return PpmStatus::TooLarge;
  }
  *bytes = static_cast<std::size_t>(pixelCount * kBytesPerPixel);
  return PpmStatus::Ok;
}

}  // namespace

const char* refusalWords(PpmStatus status) {
  struct Words {
    PpmStatus status;
    const char* words;
  };
  static constexpr Words kWords[] = {
      {PpmStatus::Ok, "read"},
      {PpmStatus::NotBinaryPpm, "not a binary PPM (the first line must begin with P6)"},
      {PpmStatus::HeaderEndsEarly, "file ends before the image size"},
      {PpmStatus::NoSize, "the line after the magic and comments must give width and height"},
      {PpmStatus::HeaderLineTooLong, "a header line is longer than 254 characters"},
      {PpmStatus::NoMaximum, "no maximum value after the size line"},
      {PpmStatus::MaximumNot255,
       "maximum value must be 255: make an 8-bit map with ImageMagick's "
       "'convert IN -depth 8 OUT.ppm' or netpbm's 'pamdepth 255 IN > OUT.ppm'"},
      {PpmStatus::SizeNotPositive, "width and height must be positive"},
      {PpmStatus::TooLarge, "image too large (more than 2^31 - 1 bytes of pixels)"},
      {PpmStatus::Truncated, "file ends before the pixel data"},
      {PpmStatus::OutOfMemory, "not enough memory for the pixels"},
  };
  for (const Words& entry : kWords) {
    if (entry.status == status) {
      return entry.words;
    }
  }
  return "unknown";
}

PpmStatus readPpmHeader(std::FILE* file, PpmSize* size) {
  PpmSize header;
  std::size_t bytes = 0;
  PpmStatus status = readHeader(file, &header);
  if (status == PpmStatus::Ok) {
    status = checkSize(header, &bytes);
  }
  if (status == PpmStatus::Ok) {
    *size = header;
  }
  return status;
}

PpmStatus readPpmPixels(std::FILE* file, PpmSize size, ImageBuffer* image) {
  image->pixels.reset();
  std::size_t bytes = 0;
  if (const PpmStatus status = checkSize(size, &bytes); status != PpmStatus::Ok) {
    return status;
  }
  // A small file claiming a huge image cannot fill it: refuse before reserving the claim.
  const long remaining = remainingBytes(file);
  if (remaining >= 0 && static_cast<unsigned long>(remaining) < bytes) {
    return PpmStatus::Truncated;
  }
  image->pixels.reset(allocatePixels(bytes));
  if (!image->pixels) {
    return PpmStatus::OutOfMemory;
  }
  Line rest;
  readLine(file, rest);  // the rest of the maximum value's line ends the header
  if (std::fread(image->pixels.get(), 1, bytes, file) < bytes) {
    image->pixels.reset();
    return PpmStatus::Truncated;
  }
  return PpmStatus::Ok;
}
