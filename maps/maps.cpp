#include "maps/maps.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/complaint.h"
#include "files/file_name.h"
#include "files/input_file.h"
#include "files/natural_order.h"
#include "maps/map_cache.h"
#include "maps/map_list.h"
#include "maps/quiet_file.h"
#include "render/window_title.h"
#include "scene/scene_state.h"
#include "texture/map_decoders.h"
#include "texture/map_texture.h"

namespace {

// Read from the working folder when no map is named.
constexpr char kEnvironmentMapFile[] = "env.ppm";
constexpr char kTitleBeforeMap[] = " - ";
// How often the shown map's file is looked at for a change; and, while its new contents are
// being read, or where the system says at once when a folder changes, how often the timer
// wakes to see.
constexpr unsigned kWatchMs = 1000;
constexpr unsigned kRereadMs = 100;

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

// A folder's maps in the order a file manager shows them; other files, and folders within,
// are passed over in silence. A folder that cannot be read, or holds none, says so.
std::vector<std::string> mapsIn(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code error;
  std::filesystem::directory_iterator entries(pathOf(folder), error);
  if (error) {
    complain(folder, error.message());
    return found;
  }
  for (const auto& entry : entries) {
    const std::string path = nameOf(entry.path());
    if (entry.is_regular_file(error) && looksLikeAMap(path)) {
      found.push_back(path);
    }
  }
  std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
    return comesBeforeNaturally(nameOf(pathOf(a).filename()), nameOf(pathOf(b).filename()));
  });
  if (found.empty()) {
    complain(folder, "a folder with no PNG, JPEG or PPM map in it");
  }
  return found;
}

void addMaps(Maps& maps, const std::vector<std::string>& named) {
  for (const std::string& name : named) {
    std::error_code error;
    std::vector<std::string> paths = {name};
    if (std::filesystem::is_directory(pathOf(name), error)) {
      paths = mapsIn(name);
    }
    for (const std::string& path : paths) {
      maps.list.emplace_back();
      maps.list.back().path = path;
    }
  }
}

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

// Its name as a title must be UTF-8 (a Latin-1 name's bytes are not): odd bytes show as U+FFFD.
void nameInTitle(const Maps& maps) {
  setWindowTitle(std::string(kWindowTitle) + kTitleBeforeMap +
                 wellFormedText(shownWithPlace(maps)));
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
  const GLuint texture = loadPpmTexture(&scene.envImage, map.path.c_str(), &report);
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
  if (maps.kept == kNoMap) {
    scene.envImage = std::move(read.image);
    maps.kept = index;
  }
  return true;  // any other map's pixels are freed here: the texture holds them
}

// After a map is shown: its neighbours read ahead, and textures beyond the budget dropped.
void settleAround(Maps& maps) {
  Map& map = maps.list[maps.shown];
  map.lastShown = ++maps.showings;
  scene.envTexture = map.texture;
  if (maps.list.size() > 1) {
    nameInTitle(maps);  // one map has nowhere to go: the title stays the viewer's own
  }
  if (maps.watching) {
    watchFolderOf(maps.fileWatch, map.path);
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
  scene.envTexture = map.texture;
  if (maps.shown == maps.kept) {
    scene.envImage = std::move(read.image);  // the scene keeps the pixels it shows
  }
}

// Looks at the shown map's file: a change is read on the worker, and its result taken once
// there, so that drawing never waits for it.
void checkShownMap(Maps& maps, double seconds) {
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
  addMaps(maps, maps.defaultMap ? std::vector<std::string>{kEnvironmentMapFile} : named);
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
  if (maps.list.size() < 2) {
    return "";
  }
  return shownWithPlace(maps);
}

unsigned watchShownMap(Maps& maps) {
  if (maps.defaultMap || maps.list.empty()) {
    return 0;
  }
  startReader(maps);
  startFileWatch(maps.fileWatch);
  if (maps.list[maps.shown].texture != 0) {
    watchFolderOf(maps.fileWatch, maps.list[maps.shown].path);
  }
  maps.watching = true;
  return kWatchMs;
}

// The file is looked at once a second, and at once when the system says its folder changed;
// while a change is waited out, or its new contents are read, it is looked at often.
unsigned lookAtShownMap(Maps& maps, double now) {
  const bool settling = maps.quiet.changing;
  if (maps.rereading || settling || fileWatchSawChange(maps.fileWatch) || now >= maps.nextLook) {
    maps.nextLook = now + kWatchMs / 1000.0;
    checkShownMap(maps, now);
  }
  const bool often = maps.rereading || maps.quiet.changing || maps.fileWatch.fd >= 0;
  return often ? kRereadMs : kWatchMs;
}
