#include "maps/map_folders.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

#include "files/complaint.h"
#include "files/file_name.h"
#include "files/file_stamp.h"
#include "files/input_file.h"
#include "files/natural_order.h"
#include "texture/map_decoders.h"

namespace {

// Whether the file starts as a PPM, a PNG or a JPEG does: what a folder's maps are told by.
bool looksLikeAMap(const std::string& path) {
  const InputFile input = openInputFile(path);
  if (input.file == nullptr) {
    return false;
  }
  const int first = std::fgetc(input.file.get());
  const int second = std::fgetc(input.file.get());
  return startsLikeAMap(first, second);
}

// Every entry's name in a folder, or the error that stopped the listing. An entry that
// vanishes while the folder is read is the folder changing, not a failure.
std::vector<std::string> entriesOf(const std::string& folder, std::error_code& error) {
  std::vector<std::string> names;
  std::filesystem::directory_iterator entry(pathOf(folder), error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    names.push_back(nameOf(entry->path()));
  }
  return names;
}

bool isFolder(const std::string& name) {
  std::error_code error;
  return std::filesystem::is_directory(pathOf(name), error);
}

// A folder's maps in the order a file manager shows them; other files, and folders within,
// are passed over in silence.
std::vector<std::string> mapsIn(const std::string& folder, bool sayWhy) {
  std::error_code error;
  std::vector<std::string> found = entriesOf(folder, error);
  if (error) {
    if (sayWhy) {
      complain(folder, error.message());
    }
    return {};
  }
  found.erase(std::remove_if(found.begin(), found.end(),
                             [](const std::string& path) {
                               std::error_code notThere;
                               return !std::filesystem::is_regular_file(pathOf(path), notThere) ||
                                      !looksLikeAMap(path);
                             }),
              found.end());
  std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
    return comesBeforeNaturally(nameOf(pathOf(a).filename()), nameOf(pathOf(b).filename()));
  });
  if (found.empty() && sayWhy) {
    complain(folder, "a folder with no PNG, JPEG or PPM map in it");
  }
  return found;
}

// FNV-1a over a name and its stamp.
std::uint64_t hashOf(const std::string& name, const FileStamp& stamp) {
  std::uint64_t hash = 14695981039346656037ULL;
  const auto mix = [&hash](std::uint64_t value) {
    for (int byte = 0; byte < 8; ++byte) {
      hash = (hash ^ ((value >> (byte * 8)) & 0xff)) * 1099511628211ULL;
    }
  };
  for (const char c : name) {
    mix(static_cast<unsigned char>(c));
  }
  mix(stamp.device);
  mix(stamp.inode);
  mix(static_cast<std::uint64_t>(stamp.size));
  mix(static_cast<std::uint64_t>(stamp.changedNs));
  return hash;
}

}  // namespace

std::vector<std::string> listMaps(const std::vector<std::string>& named,
                                  const std::vector<std::string>& folders, bool sayWhy) {
  std::vector<std::string> paths;
  for (const std::string& name : named) {
    if (std::find(folders.begin(), folders.end(), name) != folders.end()) {
      const std::vector<std::string> inFolder = mapsIn(name, sayWhy);
      paths.insert(paths.end(), inFolder.begin(), inFolder.end());
    } else {
      paths.push_back(name);
    }
  }
  return paths;
}

std::vector<std::string> foldersAmong(const std::vector<std::string>& named) {
  std::vector<std::string> folders;
  std::copy_if(named.begin(), named.end(), std::back_inserter(folders), isFolder);
  return folders;
}

std::uint64_t folderFingerprint(const std::string& folder) {
  std::error_code error;
  const std::vector<std::string> entries = entriesOf(folder, error);
  if (error) {
    return 0;
  }
  // A sum, so that the order the system lists the entries in does not matter; unsigned, so it
  // wraps by definition.
  std::uint64_t sum = 1;
  for (const std::string& path : entries) {
    sum += hashOf(path, stampOf(path));
  }
  return sum;
}

Relisted relistMaps(std::vector<Map> old, const std::vector<std::string>& listed,
                    const std::vector<bool>& stays) {
  // Equal paths keep the order they were put in: a path listed twice takes the records in turn.
  std::multimap<std::string, std::size_t> untaken;
  for (std::size_t index = 0; index < old.size(); ++index) {
    untaken.emplace(old[index].path, index);
  }
  std::vector<std::size_t> takenFrom(listed.size(), kNoMap);
  Relisted result;
  result.moved.assign(old.size(), kNoMap);
  for (std::size_t place = 0; place < listed.size(); ++place) {
    const auto found = untaken.find(listed[place]);
    if (found != untaken.end()) {
      takenFrom[place] = found->second;
      result.moved[found->second] = place;
      untaken.erase(found);
    }
  }
  // A map that stays, gone from the listing, goes in before the place after the listed map it
  // followed (or first, where none did).
  std::vector<std::vector<std::size_t>> before(listed.size() + 1);
  std::size_t after = 0;
  for (std::size_t index = 0; index < old.size(); ++index) {
    if (result.moved[index] != kNoMap) {
      after = result.moved[index] + 1;
    } else if (index < stays.size() && stays[index]) {
      before[after].push_back(index);
    } else {
      result.dropped.push_back(std::move(old[index]));
    }
  }
  for (std::size_t place = 0; place <= listed.size(); ++place) {
    for (const std::size_t index : before[place]) {
      result.moved[index] = result.list.size();
      result.list.push_back(std::move(old[index]));
      result.list.back().gone = true;
    }
    if (place == listed.size()) {
      break;
    }
    if (takenFrom[place] != kNoMap) {
      result.moved[takenFrom[place]] = result.list.size();
      result.list.push_back(std::move(old[takenFrom[place]]));
      result.list.back().gone = false;
    } else {
      result.list.emplace_back();
      result.list.back().path = listed[place];
    }
  }
  return result;
}
