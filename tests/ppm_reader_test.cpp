#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "tests/ppm_files.h"
#include "texture/ppm_reader.h"

// The largest pixel buffer asked for, to show that a huge claim is refused before anything of
// that size is reserved.
namespace {
std::size_t largestPixelBuffer = 0;
}

void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  if (size > largestPixelBuffer)
    largestPixelBuffer = size;
  return std::aligned_alloc(static_cast<std::size_t>(alignment),
                            (size + static_cast<std::size_t>(alignment) - 1) /
                                static_cast<std::size_t>(alignment) *
                                static_cast<std::size_t>(alignment));
}
void operator delete[](void* p, std::align_val_t) noexcept {
  std::free(p);
}

namespace {

struct ReadResult {
  bool ok;
  PpmSize size;
  ImageBuffer image;
};

ReadResult read(const std::string& contents) {
  ReadResult result{false, {}, {}};
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  std::fwrite(contents.data(), 1, contents.size(), file);
  std::rewind(file);
  result.ok = readPpm(file, &result.image, &result.size);
  std::fclose(file);
  return result;
}

void expectLoaded(const std::string& contents, int width, int height) {
  const ReadResult r = read(contents);
  ASSERT_TRUE(r.ok);
  ASSERT_NE(r.image.pixels, nullptr);
  EXPECT_EQ(r.size.width, width);
  EXPECT_EQ(r.size.height, height);
  const std::string expected = pixelBytes(width * height * 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.image.pixels.get()), expected.size()),
            expected);
}

void expectRefused(const std::string& contents, const char* why) {
  const ReadResult r = read(contents);
  EXPECT_FALSE(r.ok) << why;
  EXPECT_EQ(r.image.pixels, nullptr) << why;
}

}  // namespace

TEST(PpmReader, AcceptsTheHeaderFormsItShould) {
  expectLoaded(ppm(4, 4, 48), 4, 4);
  expectLoaded(ppm(5, 3, 45), 5, 3);
  expectLoaded("P6 made by hand\n4 4\n255\n" + pixelBytes(48), 4, 4);
  expectLoaded("P6\n# one\n#\n# three\n4 4\n255\n" + pixelBytes(48), 4, 4);
  expectLoaded("P6\r\n4 4\r\n255\r\n" + pixelBytes(48), 4, 4);
  expectLoaded("P6\n4 4 and more\n\n  255\n" + pixelBytes(48), 4, 4);
  expectLoaded(ppm(4, 4, 60), 4, 4);  // bytes beyond the image are ignored
}

TEST(PpmReader, RefusesFilesThatAreNotBinaryPpm) {
  expectRefused("", "empty");
  expectRefused("P3\n4 4\n255\n" + pixelBytes(48), "plain-text PPM");
  expectRefused("P", "one byte");
  expectRefused("P6\n", "magic only");
  expectRefused("P6\n# a comment and then nothing", "end of file among comments");
  expectRefused("P6\n4\n255\n" + pixelBytes(48), "one number on the size line");
  expectRefused("P6\n4 4\n", "no maximum value");
  expectRefused("P6\n4 4\n255\n", "no pixel data");
}

TEST(PpmReader, RefusesOtherMaximumValues) {
  expectRefused("P6\n4 4\n65535\n" + pixelBytes(96), "16-bit");
  expectRefused("P6\n4 4\n15\n" + pixelBytes(48), "4-bit");
  expectRefused("P6\n4 4\n99999999999999999999\n" + pixelBytes(48), "out of int range");
}

TEST(PpmReader, RefusesSizesThatAreNotPositiveOrDoNotFit) {
  expectRefused(ppm(0, 16, 48), "zero width");
  expectRefused(ppm(-4, 4, 48), "negative width");
  expectRefused(ppm(4, -4, 48), "negative height");
  expectRefused(ppm(40000, 40000, 48), "4.8 GB");
  expectRefused(ppm(2147483647, 2, 48), "product overflows int32");
  expectRefused(ppm(2147483647, 2147483647, 48), "byte count overflows int64");
  expectRefused(ppm(715827883, 1, 48), "byte count just past int32");
  expectRefused("P6\n99999999999 1\n255\n" + pixelBytes(48), "width out of int range");
}

TEST(PpmReader, ShortPixelDataFailsAndFreesTheBuffer) {
  expectRefused(ppm(4, 4, 47), "47 of 48 bytes");
  expectRefused(ppm(5, 3, 44), "44 of 45 bytes");
}

TEST(PpmReader, ASmallFileClaimingAHugeImageIsRefusedBeforeReservingIt) {
  largestPixelBuffer = 0;
  expectLoaded(ppm(4, 4, 48), 4, 4);
  EXPECT_EQ(largestPixelBuffer, 48u);  // the counting sees the reader's buffer
  largestPixelBuffer = 0;
  expectRefused(ppm(20000, 20000, 48), "1.2 GB claimed, 48 bytes present");
  EXPECT_EQ(largestPixelBuffer, 0u);
}

TEST(PpmReader, HeaderLinesFollowTheLineRules) {
  expectRefused("P6\n4 4\n# late comment\n255\n" + pixelBytes(48), "comment after size line");
  expectRefused("P6\n\n4 4\n255\n" + pixelBytes(48), "blank line after magic");
  expectRefused("P6\n  # indented\n4 4\n255\n" + pixelBytes(48), "space before #");
  // Lines are read 254 characters at a time: a longer comment's remainder is the next line.
  const std::string longComment = "#" + std::string(299, 'c') + "\n";
  expectRefused("P6\n" + longComment + "4 4\n255\n" + pixelBytes(48), "long comment");
  const std::string splitComment = "#" + std::string(253, 'c') + "#rest\n";
  expectLoaded("P6\n" + splitComment + "4 4\n255\n" + pixelBytes(48), 4, 4);
}

TEST(PpmReader, AMaximumValueFollowedByASpaceLosesDataToTheHeader) {
  // The rest of the maximum-value line is header: with no line break among the pixels, that
  // read takes up to 254 of their bytes, and the image comes out short.
  expectRefused("P6\n4 4\n255 " + pixelBytes(48), "space instead of line break");
}
