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

// ./env.ppm, when no map is named, is read and uploaded here, on the GL thread, its pixels into
// `keptPixels` (the scene's image buffer, kept for the run), and its texture name returned (0 when
// it gives none; a missing one stays silent, as the viewer has always started without one). Maps
// named are read on the worker: the first that loads is asked for, and 0 returned until it is
// shown.
GLuint loadEnvironmentMap(Maps& maps);

// Asks for the map `step` places on (1 the next, -1 the one before) from the one shown, or from
// the one asked for while it is still to come. False, asking nothing, with fewer than two maps
// or none that ever loaded.
bool stepMap(Maps& maps, int step);

// Whether a map asked for is still to come.
bool mapAwaited(const Maps& maps);

// Shows the map asked for if the worker has it within `waitSeconds`: uploaded, its texture then
// given by shownTexture, and its name with its place by mapShown. Those
// that cannot be read are said once each and passed over, on the way the step went; all of
// them failing, the shown one stays. Whether another map is shown now.
bool settleMaps(Maps& maps, double waitSeconds);

// The map shown and its place among them, while there are maps to step through: "clay.png
// (3/12)"; "" otherwise. The title and the readout name it so.
std::string mapShown(const Maps& maps);

// The texture to draw with: the map shown's, or ./env.ppm's; 0 while there is none.
GLuint shownTexture(const Maps& maps);

// From now on, the shown map's file is looked at about once a second, and at once where the
// system says its folder changed: a change, in place or by a rename, is read on the worker once
// the file has been quiet a quarter of a second, and shown once read; a file that cannot be
// read then keeps the last picture and says why once for that change.
// Only for maps named. Returns the milliseconds until lookAtShownMap is first due, or 0 when
// there is no map to watch.
unsigned watchShownMap(Maps& maps);

// Looks at the shown map's file, as watchShownMap says, `now` seconds on a steady clock, and
// takes in its new contents once read. Returns the milliseconds until it is due again.
unsigned lookAtShownMap(Maps& maps, double now);
