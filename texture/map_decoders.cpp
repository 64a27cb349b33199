#include "texture/map_decoders.h"

#include <jpeglib.h>
#include <png.h>

#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "texture/pixel_buffer.h"

namespace {

constexpr int kPngFirstByte = 0x89;   // then "PNG"
constexpr int kJpegFirstByte = 0xFF;  // then the start-of-image marker's 0xD8
constexpr int kJpegSecondByte = 0xD8;
constexpr std::uint64_t kMostPixelBytes = INT_MAX;  // the bound a PPM's pixels keep to as well

bool tooManyBytes(PpmSize size) {
  return static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height) * 3 >
         kMostPixelBytes;
}

// The pixels of an RGBA image as RGB, its alpha dropped: a sphere map's colour is all there is.
void dropAlpha(const unsigned char* rgba, std::size_t pixelCount, unsigned char* rgb) {
  for (std::size_t pixel = 0; pixel < pixelCount; ++pixel) {
    std::memcpy(rgb + pixel * 3, rgba + pixel * 4, 3);
  }
}

MapDecode decodePng(const std::string& bytes, const std::function<bool(PpmSize)>& fits,
                    ImageBuffer* image, PpmSize* size) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()) == 0) {
    return {png.message};
  }
  *size = {static_cast<int>(png.width), static_cast<int>(png.height)};
  const bool fitsGl = fits(*size);
  if (!fitsGl || tooManyBytes(*size)) {
    png_image_free(&png);
    return {fitsGl ? refusalWords(PpmStatus::TooLarge) : kLargerThanGlTakes, !fitsGl};
  }
  const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  png.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const std::size_t pixelCount = static_cast<std::size_t>(size->width) * size->height;
  image->pixels.reset(allocatePixels(pixelCount * 3));
  // An RGBA image is read whole first: memory that may not be there, refused like the pixels'.
  const std::unique_ptr<unsigned char[]> rgba(
      alpha ? new (std::nothrow) unsigned char[pixelCount * 4] : nullptr);
  if (image->pixels == nullptr || (alpha && rgba == nullptr)) {
    image->pixels.reset();
    png_image_free(&png);
    return {refusalWords(PpmStatus::OutOfMemory)};
  }
  // A negative stride stores the rows bottom-up: the picture's top row is the texture's last.
  const auto stride = -static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(png));
  if (png_image_finish_read(&png, nullptr, alpha ? rgba.get() : image->pixels.get(), stride,
                            nullptr) == 0) {
    image->pixels.reset();
    return {png.message};
  }
  if (alpha) {
    dropAlpha(rgba.get(), pixelCount, image->pixels.get());
  }
  return {};
}

// libjpeg reports an error by calling back, and its callback must not return: it jumps back to
// the decode with the library's words. A warning (a file cut short, which the library would
// fill with grey) is kept and refuses the map too.
struct JpegErrors {
  jpeg_error_mgr base;
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
  bool warned;
};

[[noreturn]] void onJpegError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  info->err->format_message(info, errors->message);
  std::longjmp(errors->escape, 1);
}

void onJpegMessage(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  if (level < 0 && !errors->warned) {
    info->err->format_message(info, errors->message);
    errors->warned = true;
  }
}

// Why a JPEG of this header is not decoded, or null, its pixels then reserved. Calls nothing of
// the library's, which could jump out of it.
const char* jpegRefusal(const jpeg_decompress_struct& info,
                        const std::function<bool(PpmSize)>& fits, const PpmSize& size,
                        unsigned char** pixels, bool* refusedBySize) {
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
    return "a CMYK JPEG, made for print: save it as RGB";
  }
  if (!fits(size)) {
    *refusedBySize = true;
    return kLargerThanGlTakes;
  }
  if (tooManyBytes(size)) {
    return refusalWords(PpmStatus::TooLarge);
  }
  *pixels = allocatePixels(static_cast<std::size_t>(size.width) * size.height * 3);
  return *pixels == nullptr ? refusalWords(PpmStatus::OutOfMemory) : nullptr;
}

// Plain C from setjmp on: nothing here may need a destructor when the library jumps back.
const char* decodeJpegInto(const std::string& bytes, const std::function<bool(PpmSize)>& fits,
                           unsigned char** pixels, PpmSize* size, JpegErrors* errors,
                           bool* refusedBySize) {
  jpeg_decompress_struct info;
  info.err = jpeg_std_error(&errors->base);
  errors->base.error_exit = onJpegError;
  errors->base.emit_message = onJpegMessage;
  errors->warned = false;
  if (setjmp(errors->escape) != 0) {
    jpeg_destroy_decompress(&info);
    return errors->message;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&info, TRUE);
  *size = {static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
  if (const char* refusal = jpegRefusal(info, fits, *size, pixels, refusedBySize)) {
    jpeg_destroy_decompress(&info);
    return refusal;
  }
  info.out_color_space = JCS_RGB;  // grey too: libjpeg-turbo converts it
  jpeg_start_decompress(&info);
  const std::size_t rowBytes = static_cast<std::size_t>(size->width) * 3;
  while (info.output_scanline < info.output_height) {
    // Bottom-up: the picture's top row is the texture's last.
    JSAMPROW row = *pixels + (info.output_height - 1 - info.output_scanline) * rowBytes;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return errors->warned ? errors->message : nullptr;
}

MapDecode decodeJpeg(const std::string& bytes, const std::function<bool(PpmSize)>& fits,
                     ImageBuffer* image, PpmSize* size) {
  JpegErrors errors{};
  unsigned char* pixels = nullptr;
  bool refusedBySize = false;
  const char* problem = decodeJpegInto(bytes, fits, &pixels, size, &errors, &refusedBySize);
  image->pixels.reset(pixels);
  if (problem == nullptr) {
    return {};
  }
  image->pixels.reset();
  return {problem, refusedBySize};
}

}  // namespace

MapKind mapKindOf(int firstByte) {
  return firstByte == kPngFirstByte    ? MapKind::Png
         : firstByte == kJpegFirstByte ? MapKind::Jpeg
                                       : MapKind::Ppm;
}

bool startsLikeAMap(int firstByte, int secondByte) {
  return (firstByte == 'P' && secondByte == '6') ||
         (firstByte == kPngFirstByte && secondByte == 'P') ||
         (firstByte == kJpegFirstByte && secondByte == kJpegSecondByte);
}

MapDecode decodeMap(MapKind kind, const std::string& bytes,
                    const std::function<bool(PpmSize)>& fits, ImageBuffer* image, PpmSize* size) {
  image->pixels.reset();
  return kind == MapKind::Png ? decodePng(bytes, fits, image, size)
                              : decodeJpeg(bytes, fits, image, size);
}
