// The fields of the text the viewer reads from people: its command line, its picture names and
// its kept sessions. Every number they hold is read here; only a PPM's header, read by the PPM
// reader's own rules, is not.
#pragma once

#include <charconv>
#include <string>
#include <system_error>
#include <vector>

// The words of a line, as white space separates them.
std::vector<std::string> wordsOf(const std::string& line);

// `text` as a whole number of type T from `least` to `most`, with nothing around it: no sign
// but a minus, no space, no trailing characters ("12x"). False when it is not one.
template <typename T>
bool readWholeNumber(const std::string& text, T least, T most, T* number) {
  const char* end = text.data() + text.size();
  T value{};
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < least || value > most) {
    return false;
  }
  *number = value;
  return true;
}

// Digits, and only digits, from `at` on, as a whole number up to `most`, where a number stands
// inside a longer text ("640x480", "%05d"); `at` is left just past them. False when no digit is
// there or the number is larger.
template <typename T>
bool readDigits(const char*& at, const char* end, T most, T* number) {
  if (at == end || *at < '0' || *at > '9') {
    return false;
  }
  const auto [stop, error] = std::from_chars(at, end, *number);
  at = stop;
  return error == std::errc() && *number <= most;
}
