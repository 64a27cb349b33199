#include "tools/image_files.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <unordered_map>

namespace {

using Bytes = std::vector<unsigned char>;

void putBigEndian32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back((value >> shift) & 0xFF);
}

void putLittleEndian16(Bytes& out, int value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

void putChunk(Bytes& out, const char* type, const Bytes& data) {
  putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  putBigEndian32(out, static_cast<std::uint32_t>(crc));
}

bool save(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

// A 6 × 7 × 6 colour cube: 252 colours, enough for smooth shading to read well.
constexpr int kRedLevels = 6, kGreenLevels = 7, kBlueLevels = 6;

int level(unsigned char value, int levels) {
  return (value * (levels - 1) + 127) / 255;
}

unsigned char paletteIndex(const unsigned char* rgb) {
  return static_cast<unsigned char>(
      (level(rgb[0], kRedLevels) * kGreenLevels + level(rgb[1], kGreenLevels)) * kBlueLevels +
      level(rgb[2], kBlueLevels));
}

Bytes palette() {
  Bytes table(256 * 3, 0);
  for (int r = 0; r < kRedLevels; ++r)
    for (int g = 0; g < kGreenLevels; ++g)
      for (int b = 0; b < kBlueLevels; ++b) {
        const int index = (r * kGreenLevels + g) * kBlueLevels + b;
        table[index * 3] = static_cast<unsigned char>(r * 255 / (kRedLevels - 1));
        table[index * 3 + 1] = static_cast<unsigned char>(g * 255 / (kGreenLevels - 1));
        table[index * 3 + 2] = static_cast<unsigned char>(b * 255 / (kBlueLevels - 1));
      }
  return table;
}

// Variable-width LZW codes, least significant bit first, as GIF packs them.
class CodeWriter {
 public:
  void put(int code, int width) {
    bits_ |= static_cast<std::uint32_t>(code) << count_;
    count_ += width;
    while (count_ >= 8) {
      bytes_.push_back(bits_ & 0xFF);
      bits_ >>= 8;
      count_ -= 8;
    }
  }
  Bytes finish() {
    if (count_ > 0)
      bytes_.push_back(bits_ & 0xFF);
    return bytes_;
  }

 private:
  Bytes bytes_;
  std::uint32_t bits_ = 0;
  int count_ = 0;
};

Bytes lzw(const Bytes& indices) {
  constexpr int kClear = 256, kEnd = 257, kMaxCode = 4095;
  CodeWriter out;
  std::unordered_map<std::uint32_t, int> table;
  int width = 9;
  int next = kEnd + 1;
  out.put(kClear, width);
  int prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | indices[i];
    const auto found = table.find(key);
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    out.put(prefix, width);
    if (next <= kMaxCode) {
      table[key] = next++;
      if (next > (1 << width) && width < 12)
        ++width;
    } else {
      out.put(kClear, width);
      table.clear();
      width = 9;
      next = kEnd + 1;
    }
    prefix = indices[i];
  }
  out.put(prefix, width);
  out.put(kEnd, width);
  return out.finish();
}

}  // namespace

bool writePng(const std::string& path, const RgbImage& image) {
  Bytes raw;
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), image.rgb.begin() + y * rowBytes, image.rgb.begin() + (y + 1) * rowBytes);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
      Z_OK) {
    return false;
  }
  packed.resize(packedSize);

  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  putBigEndian32(header, static_cast<std::uint32_t>(image.width));
  putBigEndian32(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", packed);
  putChunk(png, "IEND", {});
  return save(path, png);
}

bool writeGif(const std::string& path, const std::vector<RgbImage>& frames, int delayCentiseconds) {
  if (frames.empty())
    return false;
  const int width = frames[0].width;
  const int height = frames[0].height;
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
  putLittleEndian16(gif, width);
  putLittleEndian16(gif, height);
  gif.insert(gif.end(), {0xF7, 0, 0});  // global 256-colour table, background 0
  const Bytes table = palette();
  gif.insert(gif.end(), table.begin(), table.end());
  // Loop forever.
  const char loop[] = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00";
  gif.insert(gif.end(), loop, loop + sizeof loop - 1);
  for (const RgbImage& frame : frames) {
    if (frame.width != width || frame.height != height)
      return false;
    gif.insert(gif.end(), {0x21, 0xF9, 0x04, 0x00});
    putLittleEndian16(gif, delayCentiseconds);
    gif.insert(gif.end(), {0x00, 0x00});
    gif.push_back(0x2C);
    putLittleEndian16(gif, 0);
    putLittleEndian16(gif, 0);
    putLittleEndian16(gif, width);
    putLittleEndian16(gif, height);
    gif.push_back(0x00);
    Bytes indices;
    for (std::size_t p = 0; p + 2 < frame.rgb.size(); p += 3)
      indices.push_back(paletteIndex(&frame.rgb[p]));
    gif.push_back(8);  // minimum code size
    const Bytes codes = lzw(indices);
    for (std::size_t at = 0; at < codes.size(); at += 255) {
      const std::size_t length = std::min<std::size_t>(255, codes.size() - at);
      gif.push_back(static_cast<unsigned char>(length));
      gif.insert(gif.end(), codes.begin() + at, codes.begin() + at + length);
    }
    gif.push_back(0x00);
  }
  gif.push_back(0x3B);
  return save(path, gif);
}
