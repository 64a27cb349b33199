#include "files/complaint.h"

#include <cstdio>

void complain(const std::string& file, const std::string& problem) {
  std::fprintf(stderr, "velkarin: %s: %s\n", file.c_str(), problem.c_str());
}
