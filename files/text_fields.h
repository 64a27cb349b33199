// The fields of the text the viewer reads from people: its command line and its kept sessions.
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
