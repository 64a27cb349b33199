#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <string>

#include "tests/ppm_files.h"
#include "tests/support/ppm_read.h"
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
  PpmStatus status;
  PpmSize size;
  ImageBuffer image;
};

ReadResult read(const std::string& contents) {
  ReadResult result{PpmStatus::Ok, {}, {}};
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  std::fwrite(contents.data(), 1, contents.size(), file);
  std::rewind(file);
  result.status = readPpm(file, &result.image, &result.size);
  std::fclose(file);
  return result;
}

void expectLoaded(const std::string& contents, int width, int height) {
  const ReadResult r = read(contents);
  ASSERT_EQ(r.status, PpmStatus::Ok) << refusalWords(r.status);
  ASSERT_NE(r.image.pixels, nullptr);
  EXPECT_EQ(r.size.width, width);
  EXPECT_EQ(r.size.height, height);
  const std::string expected = pixelBytes(width * height * 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.image.pixels.get()), expected.size()),
            expected);
}

// The malformed files are kept in one folder per refusal, named after it.
const std::map<std::string, PpmStatus> kRefusalFolders = {
    {"not-binary-ppm", PpmStatus::NotBinaryPpm},
    {"header-ends-early", PpmStatus::HeaderEndsEarly},
    {"no-size", PpmStatus::NoSize},
    {"header-line-too-long", PpmStatus::HeaderLineTooLong},
    {"no-maximum", PpmStatus::NoMaximum},
    {"maximum-not-255", PpmStatus::MaximumNot255},
    {"size-not-positive", PpmStatus::SizeNotPositive},
    {"too-large", PpmStatus::TooLarge},
    {"truncated", PpmStatus::Truncated},
};

std::string fileContents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
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
  // Lines are read 254 characters at a time: a comment's remainder that happens to begin with
  // "#" is one more comment line.
  const std::string splitComment = "#" + std::string(253, 'c') + "#rest\n";
  expectLoaded("P6\n" + splitComment + "4 4\n255\n" + pixelBytes(48), 4, 4);
}

TEST(PpmReader, RefusesEveryMalformedFileForItsReasonWithNoBuffer) {
  int cases = 0;
  for (const auto& folder : std::filesystem::directory_iterator(VELKARIN_MALFORMED)) {
    const std::string reason = folder.path().filename();
    ASSERT_EQ(kRefusalFolders.count(reason), 1u) << "no refusal named " << reason;
    for (const auto& file : std::filesystem::directory_iterator(folder.path())) {
      const ReadResult r = read(fileContents(file.path()));
      EXPECT_EQ(r.status, kRefusalFolders.at(reason))
          << file.path() << ": " << refusalWords(r.status);
      EXPECT_EQ(r.image.pixels, nullptr) << file.path();
      ++cases;
    }
  }
  EXPECT_GE(cases, 20);
}

TEST(PpmReader, ASmallFileClaimingAHugeImageIsRefusedBeforeReservingIt) {
  largestPixelBuffer = 0;
  expectLoaded(ppm(4, 4, 48), 4, 4);
  EXPECT_EQ(largestPixelBuffer, 48u);  // the counting sees the reader's buffer
  largestPixelBuffer = 0;
  EXPECT_EQ(read(ppm(20000, 20000, 48)).status, PpmStatus::Truncated);
  EXPECT_EQ(largestPixelBuffer, 0u);
}
