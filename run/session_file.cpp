#include "run/session_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/input_file.h"

namespace {

// Far beyond any session a person keeps: a line an event, thousands of events a minute.
constexpr std::size_t kMostSessionBytes = 16u << 20;

// The whole stream, at most kMostSessionBytes + 1 bytes of it; "" or why it could not be read.
std::string readAll(std::FILE* file, std::string* text) {
  char chunk[4096];
  std::size_t got = 0;
  while (text->size() <= kMostSessionBytes &&
         (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    text->append(chunk, got);
  }
  return std::ferror(file) ? std::strerror(errno) : "";
}

}  // namespace

std::string readSessionFile(const std::string& path, Session* session) {
  // "-" is standard input, as it is to most programs that read a file.
  const InputFile input = path == "-" ? InputFile{stdin, ""} : openInputFile(path);
  if (input.file == nullptr) {
    return input.problem;
  }
  std::string text;
  const std::string problem = readAll(input.file, &text);
  if (input.file != stdin) {
    std::fclose(input.file);
  }
  if (!problem.empty()) {
    return problem;
  }
  if (text.size() > kMostSessionBytes) {
    return "larger than any kept session (16 MiB)";
  }
  return readSession(text, session);
}
