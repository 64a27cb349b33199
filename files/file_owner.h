// A stream closed when its owner goes. For reading only: a read's close has nothing to report,
// where a write's close must be checked (output_file.h does).
#pragma once

#include <cstdio>
#include <memory>

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

using FileOwner = std::unique_ptr<std::FILE, CloseFile>;
