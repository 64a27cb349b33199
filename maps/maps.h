// The environment maps a run shows: ./env.ppm by the PPM reader's rules when none is named; else
// every --env-map, a folder standing for its PNG, JPEG and PPM files in the order a file
// manager shows them. Page Down and Page Up step through them, wrapping. The next and the one
// before are read ahead on a worker thread while a map is shown; textures are kept within a
// budget (map_cache.h); a map that fails is reported once and skipped.
#pragma once

#include <string>
#include <vector>

#include "maps/map_list.h"
#include "scene/gl_headers.h"

// Finds the maps named, a folder standing for the maps in it, or ./env.ppm when none is named.
// Says on standard error why a folder gives none.
void findMaps(Maps& maps, const std::vector<std::string>& named);

// Every file that will be read as a map.
std::vector<std::string> mapFiles(const Maps& maps);

// Loads the first map that loads into the scene's image buffer, kept for the run, and returns
// its texture name, 0 when none does. Says on standard error why each map before it gave no
// texture; a missing ./env.ppm stays silent, as the viewer has always started without one.
GLuint loadEnvironmentMap(Maps& maps);

// Shows the map `step` places on (1 the next, -1 the one before), skipping those that cannot be
// read, and names it in the window's title with its place ("clay.png (3/12)"). Waits for the
// worker where the map is not read yet. False, changing nothing, with fewer than two maps.
bool stepMap(Maps& maps, int step);

// The map shown and its place among them, while there are maps to step through; "" otherwise.
std::string mapShown(const Maps& maps);

// From now on, the shown map's file is looked at about once a second, and at once where the
// system says its folder changed: a change, in place or by a rename, is read on the worker and
// shown once read; a file that cannot be read then keeps the last picture and says why once.
// Only for maps named. Returns the milliseconds until lookAtShownMap is first due, or 0 when
// there is no map to watch.
unsigned watchShownMap(Maps& maps);

// Looks at the shown map's file, as watchShownMap says, `now` seconds on a steady clock, and
// takes in its new contents once read. Returns the milliseconds until it is due again.
unsigned lookAtShownMap(Maps& maps, double now);
