// What a file is at a moment, as far as telling a change goes: its identity, size and time of
// last change. A file rewritten in place changes its size or time; one replaced by a rename, as
// editors save, changes its identity.
#pragma once

#include <cstdint>
#include <string>

struct FileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t changedNs = 0;  // the last change's time, in nanoseconds of the file system's clock

  bool operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && changedNs == other.changedNs;
  }
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The stamp of the file the UTF-8 name leads to (through links); one that does not exist when
// it cannot be reached.
FileStamp stampOf(const std::string& name);
