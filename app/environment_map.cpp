#include "app/environment_map.h"

#include <cstdio>

#include "app/startup.h"
#include "scene/scene_state.h"
#include "texture/ppm_texture.h"

GLuint loadEnvironmentMap(const std::string& named) {
  const std::string path = named.empty() ? kEnvironmentMapFile : named;
  const TextureLoad load = loadPpmTextureReporting(&scene.envImage, path.c_str());
  const bool silentlyAbsent = named.empty() && load.problem == TextureProblem::CannotOpen;
  if (load.problem != TextureProblem::None && !silentlyAbsent) {
    std::fprintf(stderr, "velkarin: %s: %s\n", path.c_str(), describe(load).c_str());
  }
  return load.name;
}
