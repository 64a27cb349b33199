// The folders named as maps: listed in the order a file manager shows them, and listed again
// as files are saved into them or removed, each map keeping what it holds (its texture, when
// it was shown) across a new listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "maps/map_list.h"

// The maps every name stands for, in order: each of `folders` for its PNG, JPEG and PPM files
// (none while it cannot be read), any other name for itself. With `sayWhy`, a folder that
// cannot be read, or holds none, says so.
std::vector<std::string> listMaps(const std::vector<std::string>& named,
                                  const std::vector<std::string>& folders, bool sayWhy);

// The folders among the names.
std::vector<std::string> foldersAmong(const std::vector<std::string>& named);

// What a folder holds, told from its entries' names and stamps alone (no file is opened): any
// file saved, added, renamed or removed changes it. 0 for a folder that cannot be read.
std::uint64_t folderFingerprint(const std::string& folder);

// The maps listed anew. Each listed path takes the record of a map of that path (the first not
// yet taken, for a path listed twice); a map not listed any more goes, unless `stays` says it
// is the one shown or asked for: that one keeps its place after the map it followed, marked
// gone. `moved[i]` is old map i's new place, kNoMap for one gone; `dropped` holds those.
struct Relisted {
  std::vector<Map> list;
  std::vector<std::size_t> moved;
  std::vector<Map> dropped;
};
Relisted relistMaps(std::vector<Map> old, const std::vector<std::string>& listed,
                    const std::vector<bool>& stays);
