#include "run/maps.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "files/complaint.h"
#include "files/file_name.h"
#include "files/input_file.h"
#include "scene/scene_state.h"
#include "texture/map_decoders.h"
#include "texture/map_texture.h"

namespace {

// Read from the working folder when no map is named.
constexpr char kEnvironmentMapFile[] = "env.ppm";
constexpr char kTitleBeforeMap[] = " - ";

struct Map {
  std::string path;
  bool tried = false;  // read once, whether or not it gave a texture
  GLuint texture = 0;
  ImageBuffer image;  // kept for the whole run, as the first map's is in the scene state's
};

struct Maps {
  std::vector<std::unique_ptr<Map>> list;
  std::size_t shown = 0;
  bool defaultMap = false;  // ./env.ppm, none being named
};
Maps maps;

// Whether the file starts as a PPM, a PNG or a JPEG does: what a folder's maps are told by.
bool looksLikeAMap(const std::string& path) {
  const InputFile input = openInputFile(path);
  if (input.file == nullptr) {
    return false;
  }
  const int first = std::fgetc(input.file);
  const int second = std::fgetc(input.file);
  std::fclose(input.file);
  return startsLikeAMap(first, second);
}

// A folder's maps in name order; other files, and folders within, are passed over in silence.
// A folder that cannot be read, or holds none, says so.
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
  std::sort(found.begin(), found.end());
  if (found.empty()) {
    complain(folder, "a folder with no PNG, JPEG or PPM map in it");
  }
  return found;
}

void addMaps(const std::vector<std::string>& named) {
  for (const std::string& name : named) {
    std::error_code error;
    std::vector<std::string> paths = {name};
    if (std::filesystem::is_directory(pathOf(name), error)) {
      paths = mapsIn(name);
    }
    for (const std::string& path : paths) {
      maps.list.push_back(std::make_unique<Map>());
      maps.list.back()->path = path;
    }
  }
}

// Reads a map the first time it is shown; says once why it gives no texture.
void load(Map& map, bool silentWhenAbsent) {
  map.tried = true;
  // The first map's pixels are the scene state's image buffer, kept for the run.
  ImageBuffer* image = &map == maps.list.front().get() ? &scene.envImage : &map.image;
  TextureLoad report;
  map.texture = silentWhenAbsent ? loadPpmTexture(image, map.path.c_str(), &report)
                                 : loadMapTexture(image, map.path.c_str(), &report);
  const bool silent = silentWhenAbsent && report.problem == TextureProblem::CannotOpen;
  if (report.problem != TextureProblem::None && !silent) {
    complain(map.path, describe(report));
  }
}

void nameInTitle(const Map& map) {
  const std::string title =
      std::string(kWindowTitle) + kTitleBeforeMap + nameOf(pathOf(map.path).filename());
  glutSetWindowTitle(title.c_str());
}

}  // namespace

std::vector<std::string> findMaps(const std::vector<std::string>& named) {
  maps.defaultMap = named.empty();
  addMaps(maps.defaultMap ? std::vector<std::string>{kEnvironmentMapFile} : named);
  std::vector<std::string> paths;
  for (const auto& map : maps.list) {
    paths.push_back(map->path);
  }
  return paths;
}

GLuint loadEnvironmentMap() {
  if (maps.list.empty()) {
    return 0;
  }
  Map& first = *maps.list.front();
  load(first, maps.defaultMap);
  if (maps.list.size() > 1) {
    nameInTitle(first);
  }
  return first.texture;
}

bool stepMap(int step) {
  const std::size_t count = maps.list.size();
  if (count < 2) {
    return false;
  }
  for (std::size_t tries = 0; tries < count; ++tries) {
    maps.shown = (maps.shown + static_cast<std::size_t>(static_cast<long>(count) + step)) % count;
    Map& map = *maps.list[maps.shown];
    if (!map.tried) {
      load(map, false);
      glDisable(GL_TEXTURE_2D);  // the loader leaves it on; a frame starts with it off
    }
    if (map.texture != 0) {
      break;
    }
  }
  scene.envTexture = maps.list[maps.shown]->texture;
  nameInTitle(*maps.list[maps.shown]);
  return true;
}

std::string mapShown() {
  if (maps.list.size() < 2) {
    return "";
  }
  return nameOf(pathOf(maps.list[maps.shown]->path).filename());
}
