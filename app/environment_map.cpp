#include "app/environment_map.h"

#include <cstdio>

#include "scene/scene_state.h"
#include "texture/ppm_texture.h"

namespace {
// Read from the working folder when no map is named.
constexpr char kEnvironmentMapFile[] = "env.ppm";
}  // namespace

GLuint loadEnvironmentMap(const std::string& named) {
  const std::string path = named.empty() ? kEnvironmentMapFile : named;
  TextureLoad load;
  loadPpmTexture(&scene.envImage, path.c_str(), &load);
  const bool silentlyAbsent = named.empty() && load.problem == TextureProblem::CannotOpen;
  if (load.problem != TextureProblem::None && !silentlyAbsent) {
    std::fprintf(stderr, "velkarin: %s: %s\n", path.c_str(), describe(load).c_str());
  }
  return load.name;
}
