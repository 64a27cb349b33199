// What --help and --version print.
#pragma once

#include <string>

// --help: usage, the options, the keys and the mouse, in 80 columns, under the name the viewer
// was started by.
std::string usageText(const char* program);

// --version: the program's name and version.
std::string versionText();
