#include "run/session_file.h"

#include <cstdio>

#include "files/input_file.h"

namespace {

// Far beyond any session a person keeps: a line an event, thousands of events a minute.
constexpr std::size_t kMostSessionBytes = 16u << 20;

}  // namespace

std::string readSessionFile(const std::string& path, Session* session) {
  // "-" is standard input, as it is to most programs that read a file.
  const InputFile input = path == "-" ? InputFile{} : openInputFile(path);
  if (path != "-" && input.file == nullptr) {
    return input.problem;
  }
  std::string text;
  std::FILE* file = path == "-" ? stdin : input.file.get();
  const std::string problem = readWhole(file, kMostSessionBytes, &text);
  if (!problem.empty()) {
    return problem;
  }
  if (text.size() > kMostSessionBytes) {
    return "larger than any kept session (16 MiB)";
  }
  return readSession(text, session);
}
