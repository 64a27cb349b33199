// The environment maps a run shows: ./env.ppm by the PPM reader's rules when none is named; else
// every --env-map, a folder standing for its PNG, JPEG and PPM files in name order. Page Down
// and Page Up step through them, wrapping; a map is read when it is first shown and kept, so
// stepping back is immediate, and one that fails is reported once and skipped.
#pragma once

#include <string>
#include <vector>

#include "scene/gl_headers.h"

// Finds the maps named, a folder standing for the maps in it, or ./env.ppm when none is named;
// returns every file that will be read as a map. Says on standard error why a folder gives none.
std::vector<std::string> findMaps(const std::vector<std::string>& named);

// Loads the first map found into the scene's image buffer; returns its texture name, 0 when
// there is none. Says on standard error why a map that is there gives no texture, and when a
// named map is missing; a missing ./env.ppm stays silent, as the viewer has always started
// without one.
GLuint loadEnvironmentMap();

// Shows the map `step` places on (1 the next, -1 the one before), loading it first if need be,
// and names it in the window's title. False, changing nothing, with fewer than two maps.
bool stepMap(int step);

// The name of the map shown while there are maps to step through; "" otherwise.
std::string mapShown();
