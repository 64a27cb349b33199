// Frames per second of the viewer's own frame in its real window, driven by GLUT's idle loop
// as the viewer drives it.
//
// Usage: velkarin_frame_rate SCENE FRAMES [ENV_PPM]
//   SCENE: default | hud (the default frame with the --hud readout) | envmap (filled, smooth,
//          environment-mapped) | n100 | n300 (filled, with that many turns and steps per turn)
//          | floor (only clear and swap)
// Prints "SCENE FPS" after FRAMES timed frames that follow a warm-up.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/startup.h"
#include "render/frame.h"
#include "render/glut_headers.h"
#include "render/hud.h"
#include "run/readout.h"
#include "run/run_state.h"
#include "scene/scene_state.h"
#include "texture/map_texture.h"

namespace {

constexpr int kWarmUpFrames = 100;

// The benchmark's own records, as the viewer's main keeps its.
RunState run;
SceneState scene;
std::string sceneName;
int framesToTime = 0;
int framesDone = 0;
Readout readout;
std::chrono::steady_clock::time_point started;

void clearAndSwap() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
}

// As the viewer's plain loop draws and shows a frame.
void renderAndSwap() {
  renderFrame(scene);
  glutSwapBuffers();
}

void (*drawOne)() = renderAndSwap;

void onIdle() {
  drawOne();
  ++framesDone;
  if (framesDone == kWarmUpFrames) {
    glFinish();
    started = std::chrono::steady_clock::now();
  } else if (framesDone == kWarmUpFrames + framesToTime) {
    glFinish();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    std::printf("%s %.1f\n", sceneName.c_str(), framesToTime / elapsed.count());
    std::exit(0);
  }
}

void onDisplay() {}

bool setScene(const std::string& name, const char* envPath) {
  if (name == "floor") {
    drawOne = clearAndSwap;
  } else if (name == "envmap") {
    scene.polygonMode = GL_FILL;
    scene.shadeModel = GL_SMOOTH;
    scene.envMapOn = 1;
    scene.envTexture = loadPpmTexture(&scene.envImage, envPath);
    return scene.envTexture != 0;
  } else if (name == "n100" || name == "n300") {
    scene.polygonMode = GL_FILL;
    scene.turnCount = scene.stepsPerTurn = name == "n100" ? 100 : 300;
  } else if (name == "hud") {
    prepareHud(readout, run.window.lookUp);
    drawOne = [] {
      drawScene(scene);
      drawHud(readout, readoutText(scene, HudFigures{framesDone + 1, 1234.5, ""}));
      glFlush();
      glutSwapBuffers();
    };
  } else if (name != "default") {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  openViewer(&argc, argv, run, scene);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SCENE FRAMES [ENV_PPM]\n", argv[0]);
    return 2;
  }
  sceneName = argv[1];
  framesToTime = std::atoi(argv[2]);
  if (!setScene(sceneName, argc > 3 ? argv[3] : "env.ppm") || framesToTime <= 0) {
    std::fprintf(stderr, "velkarin_frame_rate: cannot set up scene %s\n", sceneName.c_str());
    return 2;
  }
  glutIdleFunc(onIdle);
  glutDisplayFunc(onDisplay);
  glutMainLoop();
  return 0;
}
