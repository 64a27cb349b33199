// The viewer's one form for what is wrong with a file: "velkarin: FILE: PROBLEM".
#pragma once

#include <string>

void complain(const std::string& file, const std::string& problem);
