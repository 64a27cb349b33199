// Small 4×4 transform maths for the GL tests, written from the textbook definitions so that
// expected positions do not come from the code under test (nor from GL).
#pragma once

#include <array>
#include <cmath>

using Vec4 = std::array<double, 4>;

struct Mat4 {
  double m[4][4];  // m[row][column]
};

inline Mat4 identity() {
  Mat4 r{};
  for (int i = 0; i < 4; ++i)
    r.m[i][i] = 1.0;
  return r;
}

inline Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 r{};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      for (int k = 0; k < 4; ++k)
        r.m[i][j] += a.m[i][k] * b.m[k][j];
  return r;
}

inline Vec4 operator*(const Mat4& a, const Vec4& v) {
  Vec4 r{};
  for (int i = 0; i < 4; ++i)
    for (int k = 0; k < 4; ++k)
      r[i] += a.m[i][k] * v[k];
  return r;
}

inline Mat4 translation(double x, double y, double z) {
  Mat4 r = identity();
  r.m[0][3] = x;
  r.m[1][3] = y;
  r.m[2][3] = z;
  return r;
}

inline Mat4 scaling(double s) {
  Mat4 r = identity();
  r.m[0][0] = r.m[1][1] = r.m[2][2] = s;
  return r;
}

// Rotation by `degrees` about (x, y, z), counter-clockwise looking down the axis (Rodrigues).
inline Mat4 rotation(double degrees, double x, double y, double z) {
  const double len = std::sqrt(x * x + y * y + z * z);
  x /= len;
  y /= len;
  z /= len;
  const double a = degrees * std::acos(-1.0) / 180.0;
  const double c = std::cos(a), s = std::sin(a), t = 1.0 - c;
  Mat4 r = identity();
  r.m[0][0] = t * x * x + c;
  r.m[0][1] = t * x * y - s * z;
  r.m[0][2] = t * x * z + s * y;
  r.m[1][0] = t * x * y + s * z;
  r.m[1][1] = t * y * y + c;
  r.m[1][2] = t * y * z - s * x;
  r.m[2][0] = t * x * z - s * y;
  r.m[2][1] = t * y * z + s * x;
  r.m[2][2] = t * z * z + c;
  return r;
}

// Symmetric perspective projection: vertical field of view in degrees.
inline Mat4 perspective(double fovyDegrees, double aspect, double zNear, double zFar) {
  const double f = 1.0 / std::tan(fovyDegrees * std::acos(-1.0) / 360.0);
  Mat4 r{};
  r.m[0][0] = f / aspect;
  r.m[1][1] = f;
  r.m[2][2] = (zFar + zNear) / (zNear - zFar);
  r.m[2][3] = 2.0 * zFar * zNear / (zNear - zFar);
  r.m[3][2] = -1.0;
  return r;
}
