#include "files/natural_order.h"

#include <cstddef>

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

char folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The digits from `at` on, without their leading zeros; `at` is moved past them.
std::string digitsFrom(const std::string& name, std::size_t& at) {
  while (at < name.size() && name[at] == '0') {
    ++at;
  }
  const std::size_t start = at;
  while (at < name.size() && isDigit(name[at])) {
    ++at;
  }
  return name.substr(start, at - start);
}

// -1, 0 or 1 as `a` comes before, with or after `b`, by number and folded letter.
int compareNaturally(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      const std::string x = digitsFrom(a, i);
      const std::string y = digitsFrom(b, j);
      if (x.size() != y.size()) {
        return x.size() < y.size() ? -1 : 1;  // fewer digits, a smaller number
      }
      if (x != y) {
        return x < y ? -1 : 1;
      }
      continue;
    }
    const auto x = static_cast<unsigned char>(folded(a[i++]));
    const auto y = static_cast<unsigned char>(folded(b[j++]));
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  return i < a.size() ? 1 : j < b.size() ? -1 : 0;
}

}  // namespace

bool comesBeforeNaturally(const std::string& a, const std::string& b) {
  const int order = compareNaturally(a, b);
  return order != 0 ? order < 0 : a < b;
}
