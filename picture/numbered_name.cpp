#include "picture/numbered_name.h"

#include <cstddef>

#include "text/text_fields.h"

namespace {

// Wider numbers than a 64-bit frame count has digits pad to no purpose.
constexpr int kMostDigits = 19;

// One conversion at name[at], just past its percent sign.
struct Conversion {
  bool number = false;  // else a literal percent sign
  bool zeros = false;   // padded with zeros rather than spaces
  int width = 0;
  std::size_t end = 0;  // just past it; 0 when it is none of the accepted forms
};

Conversion readConversion(const std::string& name, std::size_t at) {
  Conversion conversion;
  if (at < name.size() && name[at] == '%') {
    conversion.end = at + 1;
    return conversion;
  }
  if (at < name.size() && name[at] == '0') {
    conversion.zeros = true;
    ++at;
  }
  const char* digits = name.data() + at;
  const char* end = name.data() + name.size();
  if (digits != end && *digits >= '0' && *digits <= '9' &&
      !readDigits(digits, end, kMostDigits, &conversion.width)) {
    return conversion;
  }
  at = static_cast<std::size_t>(digits - name.data());
  if (at < name.size() && name[at] == 'd') {
    conversion.number = true;
    conversion.end = at + 1;
  }
  return conversion;
}

}  // namespace

std::string readNumberedName(const std::string& name, bool* numbered) {
  *numbered = false;
  for (std::size_t at = name.find('%'); at != std::string::npos; at = name.find('%', at)) {
    const Conversion conversion = readConversion(name, at + 1);
    if (conversion.end == 0) {
      return "takes a frame number as %d or %0Nd (N up to " + std::to_string(kMostDigits) +
             ") and a percent sign as %%, not '" + name + "'";
    }
    if (conversion.number && *numbered) {
      return "takes one frame number, not '" + name + "'";
    }
    *numbered = *numbered || conversion.number;
    at = conversion.end;
  }
  return "";
}

std::vector<std::int64_t> framesNamingIt(const std::string& file) {
  std::vector<std::int64_t> frames;
  for (std::size_t at = 0; at < file.size();) {
    if (file[at] < '0' || file[at] > '9') {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < file.size() && file[end] >= '0' && file[end] <= '9') {
      ++end;
    }
    if (end - at <= static_cast<std::size_t>(kMostDigits - 1)) {
      const std::int64_t frame = std::stoll(file.substr(at, end - at));
      if (frame >= 1) {
        frames.push_back(frame);
      }
    }
    at = end;
  }
  return frames;
}

std::string numberedName(const std::string& name, std::int64_t frame) {
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = name.find('%'); at != std::string::npos; at = name.find('%', from)) {
    result.append(name, from, at - from);
    const Conversion conversion = readConversion(name, at + 1);
    if (conversion.number) {
      const std::string digits = std::to_string(frame);
      const std::size_t width = static_cast<std::size_t>(conversion.width);
      if (digits.size() < width) {
        result.append(width - digits.size(), conversion.zeros ? '0' : ' ');
      }
      result += digits;
    } else {
      result += '%';
    }
    from = conversion.end != 0 ? conversion.end : at + 1;  // an unread % stays as it is
  }
  return result.append(name, from, std::string::npos);
}
