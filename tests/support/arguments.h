// Command lines as the tests build them.
#pragma once

#include <string>
#include <vector>

// An argv over `words`, as main receives one: a pointer to each word, then a null pointer. The
// words must outlive it.
inline std::vector<char*> argvOf(std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);
  return argv;
}
