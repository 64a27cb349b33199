#include "maps/map_cache.h"

#include <algorithm>

namespace {

bool isKept(const Maps& maps, std::size_t index) {
  if (index == maps.shown || index == maps.kept) {
    return true;
  }
  for (std::size_t step = 1; step <= kNeighboursKept; ++step) {
    const auto offset = static_cast<std::ptrdiff_t>(step);
    if (index == mapAround(maps, offset) || index == mapAround(maps, -offset)) {
      return true;
    }
  }
  return false;
}

// The map shown least recently among those that still hold a texture (`holds`) and may give
// it up; kNoMap if none.
std::size_t leastRecentlyShown(const Maps& maps, const std::vector<bool>& holds) {
  std::size_t found = kNoMap;
  for (std::size_t index = 0; index < maps.list.size(); ++index) {
    const Map& map = maps.list[index];
    if (holds[index] && !isKept(maps, index) &&
        (found == kNoMap || map.lastShown < maps.list[found].lastShown)) {
      found = index;
    }
  }
  return found;
}

}  // namespace

std::vector<std::size_t> texturesToDrop(const Maps& maps) {
  std::vector<bool> holds;
  std::size_t held = 0;
  for (const Map& map : maps.list) {
    holds.push_back(map.texture != 0);
    held += map.texture != 0 ? map.textureBytes : 0;
  }
  std::vector<std::size_t> dropped;
  while (held > kTextureBudgetBytes) {
    const std::size_t index = leastRecentlyShown(maps, holds);
    if (index == kNoMap) {
      break;
    }
    holds[index] = false;
    held -= maps.list[index].textureBytes;
    dropped.push_back(index);
  }
  return dropped;
}

void keepTexturesInBudget(Maps& maps) {
  for (const std::size_t index : texturesToDrop(maps)) {
    Map& map = maps.list[index];
    glDeleteTextures(1, &map.texture);
    map.texture = 0;
  }
}

std::vector<MapAsked> mapsToRead(const Maps& maps) {
  const bool awaited = maps.wanted != kNoMap;
  const std::size_t centre = awaited ? maps.wanted : maps.shown;
  std::vector<MapAsked> wanted;
  const auto add = [&](std::size_t index) {
    const Map& map = maps.list[index];
    const bool asked = std::any_of(wanted.begin(), wanted.end(),
                                   [&](const MapAsked& request) { return request.index == index; });
    if (map.texture == 0 && !map.broken && !asked) {
      wanted.push_back({index, map.path});
    }
  };
  if (awaited) {
    add(centre);
  }
  for (const std::ptrdiff_t step : {1, -1}) {
    add(mapAround(maps, centre, step));
  }
  return wanted;
}
