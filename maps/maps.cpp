#include "maps/maps.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/complaint.h"
#include "files/file_name.h"
#include "files/new_file.h"
#include "maps/map_cache.h"
#include "maps/map_folders.h"
#include "maps/map_list.h"
#include "maps/quiet_file.h"
#include "texture/map_texture.h"

namespace {

// Read from the working folder when no map is named.
constexpr char kEnvironmentMapFile[] = "env.ppm";
// How often the shown map's file is looked at for a change; and, while its new contents are
// being read, or where the system says at once when a folder changes, how often the timer
// wakes to see.
constexpr unsigned kWatchMs = 1000;
constexpr unsigned kRereadMs = 100;
// Listing a folder stats every file in it (45 ms for 10,000 here): where the system says when a
// folder changes, the folders are looked at then, and this seldom besides, in case a watch was
// lost (a folder removed and made again).
constexpr double kFolderLookSeconds = 10.0;

// A map that cannot be read is said once, with why, and skipped from then on.
void markBroken(Map& map, const TextureLoad& report) {
  complain(map.path, report.problem);
  map.broken = true;
}

// Every map named that is not there (or lies beyond a folder that cannot be entered) is said
// at once, before the first frame, not when it is reached.
void sayUnreachable(Maps& maps) {
  for (Map& map : maps.list) {
    std::error_code error;
    const auto status = std::filesystem::status(pathOf(map.path), error);
    if (error || status.type() == std::filesystem::file_type::not_found) {
      TextureLoad report;
      report.problem = error.message();
      markBroken(map, report);
    }
  }
}

// Where the shown map stands among them all: "clay.png (3/12)".
std::string shownWithPlace(const Maps& maps) {
  const Map& map = maps.list[maps.shown];
  return nameOf(pathOf(map.path).filename()) + " (" + std::to_string(maps.shown + 1) + "/" +
         std::to_string(maps.list.size()) + ")";
}

// The map's texture, and what it takes of the budget: GL keeps RGB as four bytes a pixel.
void holdTexture(Map& map, const TextureLoad& load, const FileStamp& stamp) {
  map.texture = load.name;
  map.textureBytes = static_cast<std::size_t>(load.size.width) * load.size.height * 4;
  map.stamp = stamp;
}

// Reads and uploads ./env.ppm on the GL thread, as start-up always has: into the scene's image
// buffer, kept for the run. A missing one stays silent; any other failure is said.
GLuint loadDefaultMap(Maps& maps) {
  Map& map = maps.list.front();
  TextureLoad report;
  const FileStamp stamp = stampOf(map.path);
  const GLuint texture = loadPpmTexture(maps.keptPixels, map.path.c_str(), &report);
  if (texture == 0) {
    if (!report.cannotOpen) {
      markBroken(map, report);
    }
    return 0;
  }
  holdTexture(map, report, stamp);
  maps.kept = 0;
  return texture;
}

// A map the reader read, uploaded to a texture of its own; false when GL gives none.
bool uploadRead(MapRead& read) {
  uploadMapPixels(&read.image, &read.report);
  glDisable(GL_TEXTURE_2D);  // the upload leaves it on; a frame starts with it off
  return read.report.name != 0;
}

// The map asked for, from the reader: its texture, or false while it is still to come. One
// that gives none is marked broken (and said). The first map shown keeps its pixels in the
// scene's image buffer, as ./env.ppm's are kept.
bool uploadFromReader(Maps& maps, Map& map, std::size_t index, double waitSeconds, bool* arrived) {
  MapRead read;
  *arrived = takeMapRead(maps.reader, {index, map.path}, waitSeconds, &read);
  if (!*arrived) {
    return false;
  }
  if (!uploadRead(read)) {
    markBroken(map, read.report);
    return false;
  }
  holdTexture(map, read.report, read.stamp);
  if (maps.kept == kNoMap && maps.keptPixels != nullptr) {
    *maps.keptPixels = std::move(read.image);
    maps.kept = index;
  }
  return true;  // any other map's pixels are freed here: the texture holds them
}

std::vector<std::string> folderNames(const Maps& maps) {
  std::vector<std::string> names;
  for (const FolderLook& folder : maps.folders) {
    names.push_back(folder.name);
  }
  return names;
}

// The folders named, and the shown map's own, where its file's changes are seen.
std::vector<std::string> foldersToWatch(const Maps& maps) {
  std::vector<std::string> folders = folderNames(maps);
  if (!maps.list.empty() && maps.list[maps.shown].texture != 0) {
    folders.push_back(folderOf(maps.list[maps.shown].path));
  }
  return folders;
}

// The paths of the maps the folders still hold.
std::vector<std::string> listedPaths(const Maps& maps) {
  std::vector<std::string> paths;
  for (const Map& map : maps.list) {
    if (!map.gone) {
      paths.push_back(map.path);
    }
  }
  return paths;
}

// The maps that stay in the list though their folder holds them no more: the one shown, and the
// one asked for (which then fails to read, and is passed over).
std::vector<bool> mapsThatStay(const Maps& maps) {
  std::vector<bool> stays(maps.list.size(), false);
  if (maps.showings > 0) {
    stays[maps.shown] = true;
  }
  if (maps.wanted != kNoMap) {
    stays[maps.wanted] = true;
  }
  return stays;
}

std::size_t movedTo(const Relisted& relisted, std::size_t index) {
  return index < relisted.moved.size() ? relisted.moved[index] : kNoMap;
}

void askFor(Maps& maps, std::size_t index, std::ptrdiff_t direction);

// The maps as `listed` now: new ones in their places, the ones gone dropped with their
// textures, and the shown map, the one asked for and the one kept followed to their new places.
// Results read ahead are forgotten, as they are known by place; the neighbours are read again.
void takeListing(Maps& maps, const std::vector<std::string>& listed) {
  const std::vector<bool> stays = mapsThatStay(maps);
  Relisted relisted = relistMaps(std::move(maps.list), listed, stays);
  for (Map& map : relisted.dropped) {
    glDeleteTextures(1, &map.texture);
  }
  maps.list = std::move(relisted.list);
  maps.shown = maps.showings > 0 ? movedTo(relisted, maps.shown) : 0;
  maps.wanted = movedTo(relisted, maps.wanted);
  maps.kept = movedTo(relisted, maps.kept);
  forgetReads(maps.reader);
  maps.rereading = false;  // the shown map's change, if any, is seen again at the next look
  maps.quiet.changing = false;
  if (maps.showings == 0 && !mapAwaited(maps) && !maps.list.empty()) {
    askFor(maps, 0, 1);  // none could be shown so far: the first map there is tried
    return;
  }
  if (!maps.list.empty()) {
    readAhead(maps.reader, mapsToRead(maps));
  }
}

// Maps gone from their folder leave the list once they are neither shown nor asked for.
void dropGoneMaps(Maps& maps) {
  const std::vector<bool> stays = mapsThatStay(maps);
  for (std::size_t index = 0; index < maps.list.size(); ++index) {
    if (maps.list[index].gone && !stays[index]) {
      takeListing(maps, listedPaths(maps));
      return;
    }
  }
}

// Looks at the folders named: one that changed, and has been quiet since, is listed again, and
// the maps follow where the listing differs.
void lookAtFolders(Maps& maps, double seconds) {
  bool changed = false;
  for (FolderLook& folder : maps.folders) {
    const std::uint64_t now = folderFingerprint(folder.name);
    if (isQuietChange(folder.quiet, now, seconds, folder.seen, folder.seen)) {
      folder.seen = now;
      changed = true;
    }
  }
  if (!changed) {
    return;
  }
  const std::vector<std::string> listed = listMaps(maps.named, folderNames(maps), false);
  if (listed != listedPaths(maps)) {
    takeListing(maps, listed);
  }
}

// Whether the system says at once when any folder named changes.
bool foldersWatched(const Maps& maps) {
  return std::all_of(maps.folders.begin(), maps.folders.end(), [&](const FolderLook& folder) {
    return maps.fileWatch.held.count(folder.name) != 0;
  });
}

bool foldersSettling(const Maps& maps) {
  return std::any_of(maps.folders.begin(), maps.folders.end(),
                     [](const FolderLook& folder) { return folder.quiet.changing; });
}

// After a map is shown: its neighbours read ahead, and textures beyond the budget dropped.
void settleAround(Maps& maps) {
  maps.list[maps.shown].lastShown = ++maps.showings;
  dropGoneMaps(maps);
  if (maps.watching) {
    watchFolders(maps.fileWatch, foldersToWatch(maps));
  }
  keepTexturesInBudget(maps);
  readAhead(maps.reader, mapsToRead(maps));
}

void startReader(Maps& maps) {
  if (maps.reader.state == nullptr) {
    GLint largestSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
    startMapReader(maps.reader, mapFileDecoder(largestSide));
  }
}

// Asks for `index`, going on `direction` past maps that cannot be read.
void askFor(Maps& maps, std::size_t index, std::ptrdiff_t direction) {
  maps.wanted = index;
  maps.direction = direction;
  maps.passed = 0;
  readAhead(maps.reader, mapsToRead(maps));
}

// The map asked for cannot be read: the next one on the step's way is asked for, until every
// map has been passed over; then the shown one stays.
void passOver(Maps& maps) {
  if (++maps.passed >= maps.list.size()) {
    maps.wanted = kNoMap;
    return;
  }
  maps.wanted = mapAround(maps, maps.wanted, maps.direction);
}

// The shown map's file read again after a change: its texture replaced, or, when the new file
// cannot be read (half-written, say), the last picture kept and why said once.
void replaceShownTexture(Maps& maps, Map& map, MapRead& read) {
  if (!uploadRead(read)) {
    complain(map.path, read.report.problem + "; showing it as it was");
    maps.saidOf = read.stamp;
    return;
  }
  glDeleteTextures(1, &map.texture);
  holdTexture(map, read.report, read.stamp);  // its size may have changed with it
  if (maps.shown == maps.kept) {
    *maps.keptPixels = std::move(read.image);  // the pixels kept are those shown
  }
}

// Looks at the shown map's file: a change is read on the worker, and its result taken once
// there, so that drawing never waits for it.
void checkShownMap(Maps& maps, double seconds) {
  if (maps.list.empty()) {
    return;
  }
  Map& map = maps.list[maps.shown];
  if (maps.rereading) {
    MapRead read;
    if (takeMapReadIfDone(maps.reader, maps.shown, &read)) {
      maps.rereading = false;
      replaceShownTexture(maps, map, read);
    }
    return;
  }
  const FileStamp now = stampOf(map.path);
  if (map.texture != 0 && isQuietChange(maps.quiet, now, seconds, map.stamp, maps.saidOf)) {
    askForMap(maps.reader, {maps.shown, map.path});
    maps.rereading = true;
  }
}

}  // namespace

void findMaps(Maps& maps, const std::vector<std::string>& named) {
  maps.defaultMap = named.empty();
  maps.named = maps.defaultMap ? std::vector<std::string>{kEnvironmentMapFile} : named;
  // Each folder's fingerprint is taken before it is listed: a change meanwhile is seen later.
  for (const std::string& folder : foldersAmong(maps.named)) {
    maps.folders.push_back({folder, folderFingerprint(folder), {}});
  }
  for (const std::string& path : listMaps(maps.named, folderNames(maps), true)) {
    maps.list.emplace_back();
    maps.list.back().path = path;
  }
  if (!maps.defaultMap) {
    sayUnreachable(maps);
  }
}

std::vector<std::string> mapFiles(const Maps& maps) {
  std::vector<std::string> paths;
  for (const Map& map : maps.list) {
    paths.push_back(map.path);
  }
  return paths;
}

GLuint loadEnvironmentMap(Maps& maps) {
  if (maps.list.empty()) {
    return 0;
  }
  if (maps.defaultMap) {
    return loadDefaultMap(maps);
  }
  startReader(maps);
  askFor(maps, 0, 1);
  return 0;
}

bool stepMap(Maps& maps, int step) {
  if (maps.list.size() < 2 || maps.reader.state == nullptr) {
    return false;
  }
  if (maps.list[maps.shown].texture == 0 && !mapAwaited(maps)) {
    return false;  // none of them could be read
  }
  maps.rereading = false;  // a change of the map left is looked at when it is shown again
  const std::size_t from = mapAwaited(maps) ? maps.wanted : maps.shown;
  askFor(maps, mapAround(maps, from, step), step > 0 ? 1 : -1);
  return true;
}

bool mapAwaited(const Maps& maps) {
  return maps.wanted != kNoMap;
}

bool settleMaps(Maps& maps, double waitSeconds) {
  while (mapAwaited(maps)) {
    Map& map = maps.list[maps.wanted];
    bool arrived = true;
    if (map.broken ||
        (map.texture == 0 && !uploadFromReader(maps, map, maps.wanted, waitSeconds, &arrived))) {
      if (!arrived) {
        return false;
      }
      passOver(maps);
      continue;
    }
    maps.shown = maps.wanted;
    maps.wanted = kNoMap;
    settleAround(maps);
    return true;
  }
  return false;
}

std::string mapShown(const Maps& maps) {
  if (maps.list.size() < 2 || maps.showings == 0) {
    return "";
  }
  return shownWithPlace(maps);
}

GLuint shownTexture(const Maps& maps) {
  if (maps.showings == 0) {
    return maps.defaultMap && !maps.list.empty() ? maps.list.front().texture : 0;
  }
  return maps.list[maps.shown].texture;
}

unsigned watchShownMap(Maps& maps) {
  if (maps.defaultMap || (maps.list.empty() && maps.folders.empty())) {
    return 0;
  }
  startReader(maps);
  startFileWatch(maps.fileWatch);
  watchFolders(maps.fileWatch, foldersToWatch(maps));
  maps.watching = true;
  return kWatchMs;
}

// The file is looked at once a second, and at once when the system says its folder changed;
// while a change is waited out, or its new contents are read, it is looked at often.
unsigned lookAtShownMap(Maps& maps, double now) {
  const bool settling = maps.quiet.changing || foldersSettling(maps);
  const bool told = fileWatchSawChange(maps.fileWatch);
  if (maps.rereading || settling || told || now >= maps.nextLook) {
    maps.nextLook = now + kWatchMs / 1000.0;
    checkShownMap(maps, now);
  }
  const bool foldersDue =
      now >= maps.nextFolderLook + (foldersWatched(maps) ? kFolderLookSeconds : 0);
  if (told || foldersSettling(maps) || foldersDue) {
    maps.nextFolderLook = now + kWatchMs / 1000.0;
    lookAtFolders(maps, now);
  }
  const bool often = maps.rereading || maps.quiet.changing || foldersSettling(maps) ||
                     isWatchingFolders(maps.fileWatch);
  return often ? kRereadMs : kWatchMs;
}
