// The time from Page Down to the frame that shows the next map, a large one: with the map read
// ahead on the worker while the one before was shown (only its upload and one frame left), and
// as it was without read-ahead (read, decoded and uploaded on the GL thread, then the frame).
//
// Usage: velkarin_page_down SMALL_MAP LARGE_MAP
// Prints "without-read-ahead MS" and "with-read-ahead MS".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/startup.h"
#include "maps/maps.h"
#include "render/frame.h"
#include "render/glut_headers.h"
#include "run/run_state.h"
#include "scene/scene_state.h"
#include "texture/map_texture.h"

namespace {

// The benchmark's own records, as the viewer's main keeps its.
RunState run;
SceneState scene;
const char* largeMap = nullptr;
// Far longer than any map takes to read: the worker has it long before.
constexpr double kReadSeconds = 60.0;

double msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The frame that shows the map, finished.
void showFrame() {
  renderFrame(scene);
  glFinish();
}

void onIdle() {
  showFrame();  // the small map, while the worker reads the large one ahead
  auto start = std::chrono::steady_clock::now();
  ImageBuffer image;
  const GLuint texture = loadMapTexture(&image, largeMap);
  glDisable(GL_TEXTURE_2D);
  const GLuint shown = scene.envTexture;
  scene.envTexture = texture;
  showFrame();
  const double without = msSince(start);
  scene.envTexture = shown;
  glDeleteTextures(1, &texture);
  // The worker began on the large map at start-up: given twice the time it takes on the GL
  // thread, and some seconds more, it has read it.
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(2 * without + 3000));
  start = std::chrono::steady_clock::now();
  stepMap(run.maps, 1);
  settleMaps(run.maps, kReadSeconds);
  scene.envTexture = shownTexture(run.maps);
  showFrame();
  const double with = msSince(start);
  std::printf("without-read-ahead %.1f\nwith-read-ahead %.1f\n", without, with);
  std::exit(texture != 0 ? 0 : 1);
}

void onDisplay() {}

}  // namespace

int main(int argc, char** argv) {
  openViewer(&argc, argv, run, scene);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SMALL_MAP LARGE_MAP\n", argv[0]);
    return 2;
  }
  largeMap = argv[2];
  findMaps(run.maps, {argv[1], argv[2]});
  loadEnvironmentMap(run.maps);
  settleMaps(run.maps, kReadSeconds);
  scene.envTexture = shownTexture(run.maps);
  scene.polygonMode = GL_FILL;
  scene.envMapOn = 1;
  glutIdleFunc(onIdle);
  glutDisplayFunc(onDisplay);
  glutMainLoop();
  return 0;
}
