#include "files/complaint.h"

#include <cstdio>

namespace {

// A byte that would act on a terminal, or break the message's line, rather than show.
bool isControl(unsigned char byte) {
  return byte < 0x20 || byte == 0x7f;
}

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
  for (const char c : name) {
    plain = plain && !isControl(static_cast<unsigned char>(c));
  }
  if (plain) {
    return name;
  }
  std::string shown = "'";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (isControl(byte)) {
      shown += "'$'" + escaped(byte) + "''";
    } else if (c == '\'') {
      shown += "'\\''";
    } else {
      shown += c;
    }
  }
  return shown + "'";
}

void complain(const std::string& file, const std::string& problem) {
  std::fprintf(stderr, "velkarin: %s: %s\n", shownName(file).c_str(), problem.c_str());
}
