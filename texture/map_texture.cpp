#include "texture/map_texture.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "files/input_file.h"
#include "files/system_words.h"
#include "texture/map_decoders.h"
#include "texture/ppm_reader.h"

namespace {

FileOwner openMap(const char* path, TextureLoad& load) {
  InputFile input = openInputFile(path);
  if (input.file == nullptr) {
    load.problem = input.problem;
    load.cannotOpen = true;
  }
  return std::move(input.file);
}

// GL keeps at most one flag per kind of error; a few reads clear any left by earlier calls, so
// the check after the upload reports the upload alone.
void clearPendingErrors() {
  constexpr int kErrorKinds = 8;
  for (int i = 0; i < kErrorKinds && glGetError() != GL_NO_ERROR; ++i) {
  }
}

// Every GL from 3.0 on takes textures of this side; only a larger one needs asking about, so
// an ordinary map makes no more GL calls than its upload.
constexpr int kSideEveryGlTakes = 1024;

GLint largestSide() {
  GLint side = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
  return side;
}

// The largest texture side, as given, or asked of GL (0 given) when it is needed: only for an
// image larger than every GL takes, so that an ordinary map makes no GL call but its upload,
// and a map read away from GL's thread can be checked with the side learnt beforehand.
struct SideLimit {
  GLint known = 0;
  GLint side() const { return known > 0 ? known : largestSide(); }
  // Whether this GL can take an image of `size`, asked before its pixels are read, so that a
  // huge claim is refused without reserving it.
  bool fits(PpmSize size) const {
    if (size.width <= kSideEveryGlTakes && size.height <= kSideEveryGlTakes) {
      return true;
    }
    const GLint most = side();
    return size.width <= most && size.height <= most;
  }
};

TextureLoad& refusedByGl(TextureLoad& load, const SideLimit& limit) {
  const GLint most = limit.side();
  load.problem = load.size.width > most || load.size.height > most
                     ? std::string(kLargerThanGlTakes) + " (max " + std::to_string(most) + ")"
                     : "this GL could not take the image";
  return load;
}

GLuint upload(ImageBuffer* image, PpmSize size) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, name);
  // Rows are packed tightly, 3 × width bytes each; GL's default alignment of 4 would read
  // beyond the buffer for widths that are not a multiple of 4.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  clearPendingErrors();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size.width, size.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
               image->pixels.get());
  if (glGetError() != GL_NO_ERROR) {
    image->pixels.reset();
    return 0;
  }
  return name;
}

// Far beyond any compressed map GL could take; a device that never ends stops here.
constexpr std::size_t kMostMapBytes = std::size_t{1} << 30;
// A compressed map of the largest image GL takes is smaller than its pixels as 8-bit RGBA, but
// for the headers and chunks around them.
constexpr std::size_t kMostBytesPerPixel = 4;
constexpr std::size_t kMostHeaderBytes = std::size_t{1} << 20;

// What reading a map's file may take: bounded by the largest image this GL shows, where the
// side is known, so that an endless stream is refused long before it fills memory.
std::size_t mostFileBytes(const SideLimit& limit) {
  if (limit.known <= 0) {
    return kMostMapBytes;
  }
  const auto side = static_cast<std::size_t>(limit.known);
  return std::min(kMostMapBytes, side * side * kMostBytesPerPixel + kMostHeaderBytes);
}

// A PNG or JPEG map, read whole from its open stream (it is compressed: far smaller than its
// pixels) and decoded; its size checked against this GL before any pixel is decoded.
TextureLoad& decodeMapFile(std::FILE* file, MapKind kind, ImageBuffer* image, TextureLoad& load,
                           const SideLimit& limit) {
  const std::size_t most = mostFileBytes(limit);
  std::string bytes;
  try {
    const std::string unread = readWhole(file, most, &bytes);
    if (!unread.empty() || bytes.size() > most) {
      load.problem = !unread.empty() ? unread : "larger than any map this GL shows, or endless";
      return load;
    }
    const MapDecode decoded = decodeMap(
        kind, bytes, [&](PpmSize size) { return limit.fits(size); }, image, &load.size);
    if (decoded.refusedBySize) {
      return refusedByGl(load, limit);
    }
    load.problem = decoded.problem;
  } catch (const std::bad_alloc&) {
    image->pixels.reset();
    load.problem = kNoMemoryToRead;
  }
  return load;
}

// A binary PPM, by the PPM reader's rules.
TextureLoad& readPpmFile(std::FILE* file, ImageBuffer* image, TextureLoad& load,
                         const SideLimit& limit) {
  PpmStatus status = readPpmHeader(file, &load.size);
  if (status == PpmStatus::Ok && !limit.fits(load.size)) {
    return refusedByGl(load, limit);
  }
  if (status == PpmStatus::Ok) {
    status = readPpmPixels(file, load.size, image);
  }
  if (status != PpmStatus::Ok) {
    load.problem = refusalWords(status);
  }
  return load;
}

// The read, step by step. Given `anyFormat`, the file's first byte says whether it is a PPM, a
// PNG or a JPEG.
TextureLoad readReporting(ImageBuffer* image, const char* path, bool anyFormat,
                          const SideLimit& limit) {
  TextureLoad load;
  if (image == nullptr) {
    load.problem = systemWords(EINVAL);
    load.cannotOpen = true;
    return load;
  }
  image->pixels.reset();
  const FileOwner owner = openMap(path, load);
  std::FILE* file = owner.get();
  if (file == nullptr) {
    return load;
  }
  MapKind kind = MapKind::Ppm;
  if (anyFormat) {
    const int first = std::fgetc(file);
    if (first == EOF) {
      // Of no format at all, whatever its name says: not "not a binary PPM".
      load.problem = "an empty file";
      return load;
    }
    kind = mapKindOf(std::ungetc(first, file));
    if (kind == MapKind::Ppm && first != 'P') {
      // Nothing a map of any kind begins with (a text file named .png, say): not one of them,
      // rather than a PPM broken by its first line.
      load.problem = "not a PNG, JPEG or PPM";
      return load;
    }
  }
  return kind == MapKind::Ppm ? readPpmFile(file, image, load, limit)
                              : decodeMapFile(file, kind, image, load, limit);
}

TextureLoad loadReporting(ImageBuffer* image, const char* path, bool anyFormat) {
  TextureLoad load = readReporting(image, path, anyFormat, SideLimit{});
  uploadMapPixels(image, &load);
  return load;
}

}  // namespace

TextureLoad readMapPixels(ImageBuffer* image, const char* path, GLint largestSide) {
  return readReporting(image, path, true, SideLimit{largestSide});
}

void uploadMapPixels(ImageBuffer* image, TextureLoad* load) {
  if (!load->problem.empty()) {
    return;
  }
  load->name = upload(image, load->size);
  if (load->name == 0) {
    refusedByGl(*load, SideLimit{});
  }
}

GLuint loadPpmTexture(ImageBuffer* image, const char* path, TextureLoad* report) {
  const TextureLoad result = loadReporting(image, path, false);
  if (report != nullptr) {
    *report = result;
  }
  return result.name;
}

GLuint loadMapTexture(ImageBuffer* image, const char* path, TextureLoad* report) {
  const TextureLoad result = loadReporting(image, path, true);
  if (report != nullptr) {
    *report = result;
  }
  return result.name;
}
