#include "files/system_words.h"

#include <cstring>

namespace {

constexpr char kUnknownError[] = "unknown error";

// strerror_r is the GNU one (it returns the words) or the POSIX one (it fills the buffer and
// returns 0), as the C library chooses; each overload takes one.
[[maybe_unused]] const char* wordsFrom(const char* words, const char* /*buffer*/) {
  return words != nullptr ? words : kUnknownError;
}
[[maybe_unused]] const char* wordsFrom(int result, const char* buffer) {
  return result == 0 ? buffer : kUnknownError;
}

}  // namespace

std::string systemWords(int error) {
  char buffer[256] = {};
#ifdef _WIN32
  return strerror_s(buffer, sizeof buffer, error) == 0 ? buffer : kUnknownError;
#else
  return wordsFrom(strerror_r(error, buffer, sizeof buffer), buffer);
#endif
}
