// Writes a few material captures ("matcaps") of this project's own making into a folder, one
// PNG each: a sphere of the material lit head-on, as the sphere maps that modelling tools share
// are. With the viewer's environment map as a decal, the torus then looks made of it.
//
// Usage: velkarin_make_matcaps [--force] FOLDER
// A file already there under a material's name is kept (an artist's own clay.png, say), and
// said; --force replaces it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "files/file_name.h"
#include "files/output_file.h"
#include "picture/png_file.h"

namespace {

constexpr int kSize = 256;

struct Colour {
  double r, g, b;
};

// A material: its colour in shadow and in light, a highlight's colour and tightness, and the
// rim that a glancing view catches.
struct Material {
  const char* name;
  Colour shadow;
  Colour lit;
  Colour highlight;
  double shininess;
  Colour rim;
};

const Material kMaterials[] = {
    {"brass", {0.20, 0.12, 0.03}, {0.85, 0.62, 0.22}, {1.0, 0.95, 0.75}, 40.0, {0.55, 0.40, 0.15}},
    {"jade", {0.02, 0.16, 0.10}, {0.30, 0.70, 0.48}, {0.85, 1.0, 0.9}, 12.0, {0.60, 0.90, 0.75}},
    {"chrome", {0.05, 0.06, 0.08}, {0.70, 0.74, 0.80}, {1.0, 1.0, 1.0}, 120.0, {0.95, 0.97, 1.0}},
    {"clay", {0.18, 0.06, 0.04}, {0.78, 0.36, 0.24}, {0.55, 0.35, 0.30}, 6.0, {0.40, 0.18, 0.12}},
};

// Light from the upper left, in front: a unit vector.
constexpr double kLightX = -0.45, kLightY = 0.55, kLightZ = 0.70;

unsigned char byteOf(double value) {
  return static_cast<unsigned char>(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5);
}

// The lit sphere's colour at (x, y) in [-1, 1], y up; outside the sphere its rim colour.
Colour shade(const Material& m, double x, double y) {
  const double r2 = x * x + y * y;
  if (r2 >= 1.0) {
    return m.rim;
  }
  const double z = std::sqrt(1.0 - r2);
  const double diffuse = std::max(0.0, x * kLightX + y * kLightY + z * kLightZ);
  // Half way between the light and the viewer along +Z.
  const double hx = kLightX, hy = kLightY, hz = kLightZ + 1.0;
  const double half = std::sqrt(hx * hx + hy * hy + hz * hz);
  const double specular = std::pow(std::max(0.0, (x * hx + y * hy + z * hz) / half), m.shininess);
  const double rim = std::pow(1.0 - z, 3.0);
  const auto channel = [&](double shadow, double lit, double highlight, double edge) {
    return shadow + (lit - shadow) * diffuse + highlight * specular + edge * rim;
  };
  return {channel(m.shadow.r, m.lit.r, m.highlight.r, m.rim.r),
          channel(m.shadow.g, m.lit.g, m.highlight.g, m.rim.g),
          channel(m.shadow.b, m.lit.b, m.highlight.b, m.rim.b)};
}

// Rows from the top first, as every picture is made: the viewer shows a PNG's top facing up.
RgbImage capture(const Material& material) {
  RgbImage image;
  image.width = image.height = kSize;
  for (int row = 0; row < kSize; ++row) {
    for (int column = 0; column < kSize; ++column) {
      const double x = (column + 0.5) / kSize * 2.0 - 1.0;
      const double y = 1.0 - (row + 0.5) / kSize * 2.0;
      const Colour c = shade(material, x, y);
      image.rgb.insert(image.rgb.end(), {byteOf(c.r), byteOf(c.g), byteOf(c.b)});
    }
  }
  return image;
}

// Writes one material's picture; "" or why it could not be written.
std::string writeMaterial(const std::string& path, const Material& material) {
  OutputFile file;
  if (std::string problem = openOutputFile(path, &file); !problem.empty()) {
    return problem;
  }
  return writeOutputFile(file,
                         [&](std::FILE* stream) { return encodePng(stream, capture(material)); });
}

constexpr char kProgram[] = "velkarin_make_matcaps";

// What the command line asks: the folder, and whether files there may be replaced.
struct Request {
  std::string folder;
  bool force = false;
  bool help = false;
  bool version = false;
  std::string error;  // what was wrong with the command line; empty when nothing
};

Request readCommandLine(int argc, char** argv) {
  Request request;
  bool optionsEnd = false;
  std::vector<std::string> folders;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (!optionsEnd && word == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && word == "--force") {
      request.force = true;
    } else if (!optionsEnd && (word == "--help" || word == "-h")) {
      request.help = true;
    } else if (!optionsEnd && word == "--version") {
      request.version = true;
    } else if (!optionsEnd && word.size() > 1 && word[0] == '-') {
      request.error = "unknown option '" + word + "'";
    } else {
      folders.push_back(word);
    }
  }
  if (request.error.empty() && !request.help && !request.version && folders.size() != 1) {
    request.error = folders.empty() ? "no folder named" : "one folder only";
  }
  request.folder = folders.empty() ? "" : folders.front();
  return request;
}

void printUsage() {
  std::printf(
      "Usage: %s [--force] FOLDER\n"
      "Writes brass.png, chrome.png, clay.png and jade.png, material captures of this\n"
      "project's own, into FOLDER, made where it is not there yet.\n\n"
      "  --force     replace files of those names already in FOLDER; without it they are\n"
      "              kept, said, and the status is 1\n"
      "  -h, --help  this help\n"
      "  --version   the version\n",
      kProgram);
}

// Writes each material that has no file of its name yet, or every one where `force` says so.
// Returns whether none was kept back.
bool writeMaterials(const std::string& folder, bool force) {
  bool allWritten = true;
  for (const Material& material : kMaterials) {
    const std::string path = folder + "/" + material.name + ".png";
    std::error_code error;
    const auto status = std::filesystem::symlink_status(pathOf(path), error);
    if (!force && std::filesystem::exists(status)) {
      std::fprintf(stderr, "%s: %s: kept, as a file of that name is there (--force replaces it)\n",
                   kProgram, path.c_str());
      allWritten = false;
      continue;
    }
    if (const std::string problem = writeMaterial(path, material); !problem.empty()) {
      std::fprintf(stderr, "%s: %s: %s\n", kProgram, path.c_str(), problem.c_str());
      return false;
    }
  }
  return allWritten;
}

}  // namespace

// Writes the materials into FOLDER, made first with its parents where it is not there yet.
int main(int argc, char** argv) {
  const Request request = readCommandLine(argc, argv);
  if (!request.error.empty()) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram,
                 request.error.c_str(), kProgram);
    return 2;
  }
  if (request.help || request.version) {
    if (request.help) {
      printUsage();
    } else {
      std::printf("%s %s\n", kProgram, VELKARIN_VERSION);
    }
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
  }
  std::error_code error;
  std::filesystem::create_directories(pathOf(request.folder), error);
  if (error) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, request.folder.c_str(), error.message().c_str());
    return 1;
  }
  return writeMaterials(request.folder, request.force) ? 0 : 1;
}
