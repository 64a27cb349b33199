#include "app/geometry.h"

#include <cstring>

#include "text/text_fields.h"

namespace {

// The largest window side: the largest viewport Mesa's drivers, and most GPUs', draw into (a
// larger window is drawn into only in part, and llvmpipe crashes on one of 32767 × 32767).
constexpr int kMaxWindowSide = 16384;
// X's window positions are 16-bit signed.
constexpr int kMaxWindowOffset = 32767;

// Reads a signed offset, "+N" or "-N".
bool readOffset(const char*& at, const char* end) {
  int offset = 0;
  return at != end && (*at == '+' || *at == '-') &&
         readDigits(++at, end, kMaxWindowOffset, &offset);
}

}  // namespace

std::string noteGeometry(WindowRequest& window, const char* geometry) {
  const char* at = geometry + (*geometry == '=');
  const char* end = at + std::strlen(at);
  int width = 0;
  int height = 0;
  bool whole = at != end;
  if (whole && *at != '+' && *at != '-') {
    whole = readDigits(at, end, kMaxWindowSide, &width) && at != end &&
            (*at == 'x' || *at == 'X') && readDigits(++at, end, kMaxWindowSide, &height) &&
            width > 0 && height > 0;
    window.sizeGiven = true;
  }
  if (whole && at != end) {
    whole = readOffset(at, end) && readOffset(at, end) && at == end;
    window.positionGiven = true;
  }
  if (!whole) {
    return "takes WxH, +X+Y or WxH+X+Y, each side from 1 to " + std::to_string(kMaxWindowSide) +
           ", not '" + geometry + "'";
  }
  return "";
}
