#include "files/complaint.h"

#include <cstdio>

namespace {

// How many bytes from `at` make one character that shows as itself, or 0 where the byte there
// must be escaped: a control byte (one that acts on a terminal or breaks the message's line,
// C1 ones included) or a byte of no whole UTF-8 character, which some terminals take as a C1
// control too.
std::size_t plainLength(const std::string& name, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(name[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x20 || lead == 0x7f) {
    return 0;
  }
  if (lead < 0x80) {
    return 1;
  }
  const std::size_t length = lead >= 0xF8   ? 0
                             : lead >= 0xF0 ? 4
                             : lead >= 0xE0 ? 3
                             : lead >= 0xC2 ? 2
                                            : 0;
  if (length == 0 || at + length > name.size()) {
    return 0;
  }
  for (std::size_t i = at + 1; i < at + length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) {
      return 0;
    }
  }
  const bool c1Control = lead == 0xC2 && byte(at + 1) < 0xA0;
  return c1Control ? 0 : length;
}

}  // namespace

std::string wellFormedText(const std::string& text) {
  constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
  std::string formed;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = plainLength(text, at);
    formed += length > 0 ? text.substr(at, length) : kReplacement;
    at += length > 0 ? length : 1;
  }
  return formed;
}

namespace {

// One control byte as a shell's $'...' writes it.
std::string escaped(unsigned char byte) {
  switch (byte) {
    case '\a':
      return "\\a";
    case '\b':
      return "\\b";
    case '\t':
      return "\\t";
    case '\n':
      return "\\n";
    case '\v':
      return "\\v";
    case '\f':
      return "\\f";
    case '\r':
      return "\\r";
    default:
      break;
  }
  char octal[5];
  std::snprintf(octal, sizeof octal, "\\%03o", byte);
  return octal;
}

}  // namespace

std::string shownName(const std::string& name) {
  bool plain = true;
  for (std::size_t at = 0, length = 0; plain && at < name.size(); at += length) {
    length = plainLength(name, at);
    plain = length > 0;
  }
  if (plain) {
    return name;
  }
  std::string shown = "'";
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t length = plainLength(name, at);
    if (length == 0) {
      shown += "'$'" + escaped(static_cast<unsigned char>(name[at])) + "''";
      ++at;
    } else if (name[at] == '\'') {
      shown += "'\\''";
      ++at;
    } else {
      shown.append(name, at, length);
      at += length;
    }
  }
  return shown + "'";
}

void complain(const std::string& message) {
  std::fprintf(stderr, "velkarin: %s\n", message.c_str());
}

void complain(const std::string& file, const std::string& problem) {
  complain(shownName(file) + ": " + problem);
}
