#include "files/file_name.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <random>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

fs::path pathOf(const std::string& name) {
  return fs::u8path(name);
}

std::string nameOf(const fs::path& path) {
  return path.u8string();
}

#ifdef _WIN32

int openNamed(const std::string& name, int flags, int mode) {
  return _wopen(pathOf(name).c_str(), flags | O_BINARY, mode);
}

std::FILE* fopenNamed(const std::string& name, const char* mode) {
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(pathOf(name).c_str(), wideMode.c_str());
}

// Windows has no mkstemp: names are drawn until one is free.
int createUniqueFile(const std::string& prefix, std::string* name) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device seed;
  std::mt19937 draw(seed());
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  constexpr int kTries = 100;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    *name = prefix;
    for (int k = 0; k < 6; ++k) {
      *name += kLetters[pick(draw)];
    }
    const int fd = openNamed(*name, O_RDWR | O_CREAT | O_EXCL, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) {
      return fd;
    }
  }
  return -1;
}

std::vector<std::string> commandLine(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> words;
  for (int i = 0; wide != nullptr && i < count; ++i) {
    words.push_back(nameOf(fs::path(wide[i])));
  }
  LocalFree(wide);
  return words;
}

#else

int openNamed(const std::string& name, int flags, int mode) {
  return ::open(name.c_str(), flags | O_CLOEXEC, mode);
}

std::FILE* fopenNamed(const std::string& name, const char* mode) {
  return std::fopen(name.c_str(), mode);
}

int createUniqueFile(const std::string& prefix, std::string* name) {
  std::string pattern = prefix + "XXXXXX";
  const int fd = mkstemp(pattern.data());
  *name = pattern;
  return fd;
}

std::vector<std::string> commandLine(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

#endif

std::vector<char*> argvOf(std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);
  return argv;
}
