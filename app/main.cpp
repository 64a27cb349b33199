// Velkarin: a helical torus under five coloured, orbiting lights.
// Keys are listed in the README; Escape quits.
#include <cstdio>

#include "app/startup.h"
#include "render/frame.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"
#include "texture/ppm_texture.h"

int main(int argc, char** argv) {
  openViewer(&argc, argv);

  scene.envTexture = loadPpmTexture(&scene.envImage, kEnvironmentMapFile);
  std::printf("tex = %d\n", static_cast<int>(scene.envTexture));
  // The process only ever ends by exit or by a signal; flush so a pipe sees the line now.
  std::fflush(stdout);

  glutIdleFunc(renderFrame);
  glutDisplayFunc(renderFrame);
  glutMainLoop();
  return 0;
}
