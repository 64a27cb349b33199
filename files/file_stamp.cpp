#include "files/file_stamp.h"

#ifndef _WIN32
#include <sys/stat.h>
#else
#include <chrono>
#include <filesystem>
#include <system_error>

#include "files/file_name.h"
#endif

FileStamp stampOf(const std::string& name) {
  FileStamp stamp;
#ifndef _WIN32
  struct stat info {};
  if (stat(name.c_str(), &info) != 0) {
    return stamp;
  }
  constexpr std::int64_t kNsPerSecond = 1000000000;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(info.st_dev);
  stamp.inode = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::int64_t>(info.st_size);
  stamp.changedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNsPerSecond +
                    static_cast<std::int64_t>(info.st_mtim.tv_nsec);
#else
  // Windows has no inode to hand: the size and time tell a rewrite, and a replacement as a
  // rename almost always brings another time.
  std::error_code error;
  const std::filesystem::path path = pathOf(name);
  const auto size = std::filesystem::file_size(path, error);
  if (error) {
    return stamp;
  }
  const auto changed = std::filesystem::last_write_time(path, error);
  if (error) {
    return stamp;
  }
  stamp.exists = true;
  stamp.size = static_cast<std::int64_t>(size);
  stamp.changedNs =
      std::chrono::duration_cast<std::chrono::nanoseconds>(changed.time_since_epoch()).count();
#endif
  return stamp;
}
