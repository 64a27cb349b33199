#include "maps/map_cache.h"

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

std::size_t textureBytesHeld(const Maps& maps) {
  std::size_t total = 0;
  for (const Map& map : maps.list) {
    total += map.texture != 0 ? map.textureBytes : 0;
  }
  return total;
}

// The map shown least recently among those that may give up their textures; kNoMap if none.
std::size_t leastRecentlyShown(const Maps& maps) {
  std::size_t found = kNoMap;
  for (std::size_t index = 0; index < maps.list.size(); ++index) {
    const Map& map = maps.list[index];
    if (map.texture != 0 && !isKept(maps, index) &&
        (found == kNoMap || map.lastShown < maps.list[found].lastShown)) {
      found = index;
    }
  }
  return found;
}

}  // namespace

void keepTexturesInBudget(Maps& maps) {
  std::size_t held = textureBytesHeld(maps);
  while (held > kTextureBudgetBytes) {
    const std::size_t dropped = leastRecentlyShown(maps);
    if (dropped == kNoMap) {
      return;
    }
    Map& map = maps.list[dropped];
    glDeleteTextures(1, &map.texture);
    map.texture = 0;
    held -= map.textureBytes;
  }
}

std::vector<MapRequest> neighboursToRead(const Maps& maps) {
  std::vector<MapRequest> wanted;
  for (const std::ptrdiff_t step : {1, -1}) {
    const std::size_t index = mapAround(maps, step);
    const Map& map = maps.list[index];
    const bool asked = !wanted.empty() && wanted.front().index == index;
    if (index != maps.shown && map.texture == 0 && !map.broken && !asked) {
      wanted.push_back({index, map.path});
    }
  }
  return wanted;
}
