// File names as the viewer holds them: UTF-8 strings on every platform. POSIX systems take
// such names as they are; Windows takes UTF-16, and its narrow calls read names in the ANSI
// code page, where most characters do not exist. Every file the viewer opens by name goes
// through here.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// The path a UTF-8 name names, and the name of a path.
std::filesystem::path pathOf(const std::string& name);
std::string nameOf(const std::filesystem::path& path);

// open(2) and fopen by UTF-8 name; -1 or null with errno set on failure.
int openNamed(const std::string& name, int flags, int mode = 0);
std::FILE* fopenNamed(const std::string& name, const char* mode);

// A new file of its own whose name is `prefix` and six characters, open for reading and
// writing with mode 0600, its name in *name; -1 with errno set on failure.
int createUniqueFile(const std::string& prefix, std::string* name);

// The command line as UTF-8, whatever the platform gave main.
std::vector<std::string> commandLine(int argc, char** argv);

// An argv over `words`, as main receives one: a pointer to each word, then a null pointer. The
// words must outlive it.
std::vector<char*> argvOf(std::vector<std::string>& words);
