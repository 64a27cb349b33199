#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "render/frame.h"
#include "scene/gl_headers.h"
#include "tests/gl_window.h"
#include "tests/ppm_files.h"
#include "texture/map_texture.h"

namespace {

GLint boundTexture() {
  GLint name = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
  return name;
}

std::string textureImage(GLuint name, int width, int height) {
  glBindTexture(GL_TEXTURE_2D, name);
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return std::string(rgb.begin(), rgb.end());
}

GLint levelSize(GLenum which) {
  GLint value = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
  return value;
}

GLuint load(const std::string& contents, ImageBuffer* image) {
  const std::string path = writeTempFile(contents);
  const GLuint name = loadPpmTexture(image, path.c_str());
  std::remove(path.c_str());
  return name;
}

void expectUploaded(int width, int height) {
  ImageBuffer image;
  const GLuint name = load(ppm(width, height, width * height * 3), &image);
  ASSERT_NE(name, 0u);
  EXPECT_NE(image.pixels, nullptr);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(boundTexture(), static_cast<GLint>(name));
  EXPECT_EQ(levelSize(GL_TEXTURE_WIDTH), width);
  EXPECT_EQ(levelSize(GL_TEXTURE_HEIGHT), height);
  // Rows come back in file order: the file's first row is texture row 0.
  EXPECT_EQ(textureImage(name, width, height), pixelBytes(width * height * 3));
}

// The whole window as a steady frame shows it. The light spheres take the torus's material
// from the frame before, so the frame is drawn twice.
std::vector<unsigned char> frameImage() {
  renderFrame(scene);
  renderFrame(scene);
  return shownImage();
}

}  // namespace

TEST(PpmTexture, UploadsRowsInFileOrderForAnyWidth) {
  expectUploaded(4, 4);
  expectUploaded(5, 3);  // rows of 15 bytes: not a multiple of 4
  expectUploaded(1, 7);
}

TEST(PpmTexture, FailuresReturnZeroWithNoBuffer) {
  ImageBuffer image;
  EXPECT_EQ(load(ppm(4, 4, 47), &image), 0u);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(loadPpmTexture(&image, "/nonexistent/env.ppm"), 0u);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(loadPpmTexture(nullptr, "/nonexistent/env.ppm"), 0u);
}

TEST(PpmTexture, AnImageGlRefusesReturnsZeroAndFreesTheBuffer) {
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  ImageBuffer image;
  EXPECT_EQ(load(ppm(maxSize + 1, 1, (maxSize + 1) * 3), &image), 0u);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

#if !defined(__SANITIZE_ADDRESS__)
namespace {

// The process's address space in use, from the kernel's account of it.
rlim_t virtualMemorySize() {
  std::ifstream status("/proc/self/status");
  for (std::string word; status >> word;) {
    if (word == "VmSize:") {
      rlim_t kib = 0;
      status >> kib;
      return kib << 10;
    }
  }
  return 0;
}

}  // namespace
#endif

// A map GL takes by its size but has no memory for: with the process's address space
// limited to a little more than the file's pixels, llvmpipe cannot store its own copy and
// reports GL_OUT_OF_MEMORY. (The sanitizers end the process on a failed allocation instead.)
TEST(PpmTexture, AnUploadGlHasNoMemoryForReturnsZeroAndFreesTheBuffer) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer aborts where GL would report GL_OUT_OF_MEMORY";
#else
  constexpr int kSide = 4096;  // 48 MiB of pixels; llvmpipe stores 64 MiB
  constexpr rlim_t kHeadroom = 80u << 20;
  const std::string path = writeTempFile(ppm(kSide, kSide, kSide * kSide * 3));
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_AS, &before), 0);
  rlimit limited = before;
  limited.rlim_cur = virtualMemorySize() + kHeadroom;
  ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
  ImageBuffer image;
  const GLuint name = loadPpmTexture(&image, path.c_str());
  setrlimit(RLIMIT_AS, &before);
  std::remove(path.c_str());
  EXPECT_EQ(name, 0u);
  EXPECT_EQ(image.pixels, nullptr);
#endif
}

TEST(PpmTexture, AnEarlierGlErrorDoesNotFailAGoodUpload) {
  glEnable(GL_TEXTURE_1D + 12345);  // leaves GL_INVALID_ENUM pending
  ImageBuffer image;
  EXPECT_NE(load(ppm(4, 4, 48), &image), 0u);
  EXPECT_NE(image.pixels, nullptr);
}

TEST(PpmTexture, BundledMapLoadsAsA256Square) {
  ImageBuffer image;
  const GLuint name = loadPpmTexture(&image, VELKARIN_ASSETS "/env.ppm");
  ASSERT_NE(name, 0u);
  EXPECT_EQ(levelSize(GL_TEXTURE_WIDTH), 256);
  EXPECT_EQ(levelSize(GL_TEXTURE_HEIGHT), 256);
}

TEST(EnvironmentMap, ShowsOnTheTorusModulatedOrAsADecal) {
  resetScene();
  scene.polygonMode = GL_FILL;
  const auto plain = frameImage();

  scene.envMapOn = 1;
  const auto withoutTexture = frameImage();
  EXPECT_EQ(withoutTexture, plain) << "texture 0 holds no image and shows nothing";

  scene.envTexture = loadPpmTexture(&scene.envImage, VELKARIN_ASSETS "/env.ppm");
  ASSERT_NE(scene.envTexture, 0u);
  const auto modulated = frameImage();
  scene.modulateTexture = 0;
  const auto decal = frameImage();
  EXPECT_NE(modulated, plain);
  EXPECT_NE(decal, plain);
  EXPECT_NE(decal, modulated);
  resetScene();
}
