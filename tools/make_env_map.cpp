// Writes the bundled environment map: a 256 × 256 sphere map of an open sky over a checkered
// floor, with a bright sun. Each pixel of a sphere map shows what a mirror ball, seen from far
// along +Z, reflects in that direction.
//
// Usage: make_env_map OUTPUT.ppm
//
// Only +, −, ×, ÷ and sqrt are used, all exactly rounded in IEEE arithmetic, so every machine
// writes the same bytes.
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 256;

struct Colour {
  double r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr Colour kHorizon = {0.92, 0.88, 0.80};
constexpr Colour kZenith = {0.10, 0.30, 0.75};
constexpr Colour kSun = {1.0, 0.97, 0.85};
constexpr Colour kTileLight = {0.85, 0.85, 0.82};
constexpr Colour kTileDark = {0.18, 0.20, 0.24};
// Direction to the sun: up and to the upper left of the viewer, unit length.
constexpr double kSunX = -0.48, kSunY = 0.64, kSunZ = 0.60;

double power(double base, int exponent) {
  double result = 1.0;
  for (int i = 0; i < exponent; ++i)
    result *= base;
  return result;
}

Colour sky(double x, double y, double z) {
  Colour colour = mix(kHorizon, kZenith, std::sqrt(y));
  const double towardSun = x * kSunX + y * kSunY + z * kSunZ;
  if (towardSun > 0.0) {
    const double glow = power(towardSun, 64) + 0.25 * power(towardSun, 8);
    colour = mix(colour, kSun, glow > 1.0 ? 1.0 : glow);
  }
  return colour;
}

// A floor of unit tiles one unit below the ball, fading into the horizon haze with distance.
Colour ground(double x, double y, double z) {
  const double reach = -1.0 / y;
  const double u = x * reach;
  const double v = z * reach;
  // Parity by the low bit, which stays right for negative tile indices.
  const long tile = static_cast<long>(std::floor(u)) + static_cast<long>(std::floor(v));
  const bool light = (tile & 1) == 0;
  const double haze = 1.0 - 1.0 / (1.0 + 0.08 * (u * u + v * v));
  return mix(light ? kTileLight : kTileDark, kHorizon, haze);
}

unsigned char toByte(double value) {
  const double clamped = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
  return static_cast<unsigned char>(clamped * 255.0 + 0.5);
}

// What the ball shows at one pixel of the map.
Colour mapPixel(int row, int column) {
  // The ball's normal at this pixel; outside the ball, the rim's colour (straight behind).
  const double s = (2.0 * column + 1.0) / kSize - 1.0;
  // The viewer uploads the file's first row as the texture's bottom row (t = 0), so the rows go
  // from the bottom of the ball up: the sky shows above in a reflection, the floor below. An
  // image viewer shows the file upside down.
  const double t = (2.0 * row + 1.0) / kSize - 1.0;
  const double rr = s * s + t * t;
  const double nz = rr < 1.0 ? std::sqrt(1.0 - rr) : 0.0;
  const double nx = rr < 1.0 ? s : 0.0;
  const double ny = rr < 1.0 ? t : 0.0;
  // Reflect the view direction (0, 0, -1) about the normal.
  const double x = 2.0 * nz * nx;
  const double y = 2.0 * nz * ny;
  const double z = 2.0 * nz * nz - 1.0;
  return y >= 0.0 ? sky(x, y, z) : ground(x, y, z);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.ppm\n", argv[0]);
    return 2;
  }
  std::vector<unsigned char> pixels;
  pixels.reserve(kSize * kSize * 3);
  for (int row = 0; row < kSize; ++row) {
    for (int column = 0; column < kSize; ++column) {
      const Colour colour = mapPixel(row, column);
      pixels.push_back(toByte(colour.r));
      pixels.push_back(toByte(colour.g));
      pixels.push_back(toByte(colour.b));
    }
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out, "P6\n# Velkarin environment map: sky, sun and checkered floor\n%d %d\n255\n",
               kSize, kSize);
  const bool written = std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
