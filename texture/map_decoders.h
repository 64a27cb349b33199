// PNG and JPEG sphere maps, decoded from their bytes by libpng and libjpeg-turbo into 8-bit RGB
// triplets, rows from the picture's bottom up, so that the top of the picture, as every image
// viewer shows it, faces up (a PPM's rows keep the file's order: its first row is the bottom). The
// libraries' own transforms make every PNG RGB (8 or 16 bits a channel, grey, grey with alpha,
// palette, RGBA, its alpha dropped); JPEG may be baseline or progressive, grey or colour. Free of
// GL.
#pragma once

#include <functional>
#include <string>

#include "scene/image_buffer.h"
#include "texture/ppm_reader.h"

enum class MapKind { Ppm, Png, Jpeg };

// What a map is, by its first byte: a PNG's signature and a JPEG's marker begin with bytes that
// no PPM's "P6" does. Anything else is read as a PPM, and refused by its rules.
MapKind mapKindOf(int firstByte);

// Whether a file's first two bytes are those a binary PPM ("P6"), a PNG or a JPEG begins with:
// what tells a folder's maps from its other files.
bool startsLikeAMap(int firstByte, int secondByte);

// Why an image whose size `fits` refused gives no pixels; the upload adds GL's largest side.
inline constexpr char kLargerThanGlTakes[] = "larger than this GL accepts";

struct MapDecode {
  std::string problem;         // "" when decoded, else the library's reason or ours
  bool refusedBySize = false;  // `fits` refused the size the header gives
};

// Decodes a PNG or JPEG map held in `bytes` into image->pixels and its size into *size. The size
// is checked against `fits`, and against the 2^31 - 1 byte bound, from the header, before any
// pixel is decoded or memory reserved for it; on any failure image->pixels is left null.
MapDecode decodeMap(MapKind kind, const std::string& bytes,
                    const std::function<bool(PpmSize)>& fits, ImageBuffer* image, PpmSize* size);
