// A long run of the real renderer in the real window, with every command pressed along the
// way, over and over. Fails on a GL error at the end of any frame, a light angle outside its range,
// or resident memory that keeps growing once the run has warmed up.
//
// Usage: velkarin_soak FRAMES ENV_PPM
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "input/key_script.h"
#include "render/frame.h"
#include "render/glut_headers.h"
#include "run/run_input.h"
#include "scene/scene_state.h"
#include "texture/map_texture.h"
// glutMainLoopEvent: the run pumps window events itself.
#include <GL/freeglut_ext.h>

namespace {

constexpr int kFramesPerKey = 40;
constexpr long kAllowedGrowthBytes = 256 * 1024;
constexpr int kWarmUpCycles = 2;

// One cycle presses every command and returns the scene to where it began: the toggles are
// switched on one after another and then off again, every step up has its step down, and the
// reset at the end zeroes the spin. The GL driver builds its caches for the states it sees,
// so once the cycle has run, a growing footprint can only be a leak. Written as --keys is,
// and pressed through the handler every input takes.
const char kCycleScript[] =
    "pfeEcoLliq12345"
    "pfeEcoLliq12345"
    "WNxz<right><up>"
    "wnXZ<left><down>"
    "aas0r";

std::vector<ScriptKey> cycle() {
  std::vector<ScriptKey> keys;
  std::string unknown;
  parseKeyScript(kCycleScript, &keys, &unknown);
  return keys;
}

long residentBytes() {
  long pages = 0;
  long resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// The soak's own records, as the viewer's main keeps its.
RunState run;
SceneState scene;

bool anglesInRange() {
  const float* a = scene.lightAngle;
  return a[0] >= 0 && a[0] < 360 && a[1] > -360 && a[1] <= 0 && a[2] >= 0 && a[2] < 360 &&
         a[3] == 0 && a[4] >= 0 && a[4] < 360;
}

void ignoreRedisplay() {}

}  // namespace

int main(int argc, char** argv) {
  openViewer(&argc, argv, run, scene);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FRAMES ENV_PPM\n", argv[0]);
    return 2;
  }
  const int frames = std::atoi(argv[1]);
  scene.envTexture = loadPpmTexture(&scene.envImage, argv[2]);
  glutDisplayFunc(ignoreRedisplay);
  if (scene.envTexture == 0) {
    std::fprintf(stderr, "soak: cannot load %s\n", argv[2]);
    return 1;
  }

  const std::vector<ScriptKey> keys = cycle();
  const int warmUp = kWarmUpCycles * static_cast<int>(keys.size()) * kFramesPerKey;
  if (frames < 2 * warmUp) {
    std::fprintf(stderr, "soak: run at least %d frames\n", 2 * warmUp);
    return 2;
  }
  // The footprint breathes by a page or so from frame to frame: compare the peaks of the
  // first and second half of the run after warm-up.
  const int halfway = warmUp + (frames - warmUp) / 2;
  long firstHalfPeak = 0;
  long secondHalfPeak = 0;
  ScriptKey lastKey;
  for (int frame = 1; frame <= frames; ++frame) {
    if (frame % kFramesPerKey == 0) {
      lastKey = keys[static_cast<std::size_t>(frame / kFramesPerKey - 1) % keys.size()];
      takeInput(run, scene, {0, InputKind::Key, lastKey});
    }
    renderFrame(scene);
    if (frame % 100 == 0) {
      glutMainLoopEvent();
    }
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
      std::fprintf(stderr, "soak: GL error 0x%x at frame %d after key %s\n", error, frame,
                   spellKeys({lastKey}).c_str());
      return 1;
    }
    if (!anglesInRange()) {
      std::fprintf(stderr, "soak: light angle out of range at frame %d\n", frame);
      return 1;
    }
    if (frame > warmUp && frame % 100 == 0) {
      long& peak = frame <= halfway ? firstHalfPeak : secondHalfPeak;
      peak = std::max(peak, residentBytes());
    }
  }
  const long growth = secondHalfPeak - firstHalfPeak;
  std::printf(
      "soak: %d frames, %d turns, %d steps, resident %ld KiB after warm-up, growth %ld KiB\n",
      frames, scene.turnCount, scene.stepsPerTurn, firstHalfPeak / 1024, growth / 1024);
  if (growth > kAllowedGrowthBytes) {
    std::fprintf(stderr, "soak: resident memory grew by %ld KiB after warm-up\n", growth / 1024);
    return 1;
  }
  return 0;
}
