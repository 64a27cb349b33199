// Which maps keep a texture: memory bounded by a budget, not by the number of maps. The shown
// map, its neighbours and the map whose pixels the scene keeps hold theirs; the others are
// dropped, least recently shown first, while all of them together take more than the budget.
// A dropped map is read again when it is shown again.
#pragma once

#include <cstddef>
#include <vector>

#include "maps/map_list.h"

// Texture memory the maps may hold beyond the shown map and its neighbours.
inline constexpr std::size_t kTextureBudgetBytes = std::size_t{128} << 20;
// Neighbours each way that keep their textures whatever the budget.
inline constexpr std::size_t kNeighboursKept = 2;

// The maps whose textures go, least recently shown first, to bring them all within the budget:
// told from the maps' sizes and showings alone.
std::vector<std::size_t> texturesToDrop(const Maps& maps);

// Drops those textures. Needs the GL context.
void keepTexturesInBudget(Maps& maps);

// The maps to read, in order: the one asked for, where one is, then the next and the one before
// it (or the shown one), where they have no texture and are not known to be broken.
std::vector<MapAsked> mapsToRead(const Maps& maps);
