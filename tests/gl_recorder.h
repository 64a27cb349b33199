// Records the GL, GLU and GLUT calls a program makes while passing every one on to the real
// libraries: the stream of calls of real frames on real Mesa, to be compared with what a frame
// should ask of GL.
//
// The recorder's entry points take the place of the libraries' own, either linked into a test
// program (the product code linked with it calls them) or preloaded into the real viewer
// (LD_PRELOAD). Preloaded, it records when VELKARIN_RECORD_GL names a file: every call from
// start-up on, written there once VELKARIN_RECORD_FRAMES frames (default 2) have been swapped,
// after which the process ends with status 0.
#pragma once

#include <string>
#include <vector>

struct GlCall {
  std::string name;
  std::vector<double> args;  // numbers, enumerants and the values behind array pointers
  std::string text;          // the one string argument (glutCreateWindow's title), if any
};

// One call per line: the name, its arguments in order, and the text (if any) after a tab.
std::string formatCall(const GlCall& call);
GlCall parseCall(const std::string& line);

// In-process recording: calls between the two are kept, everything else just passes through.
void startRecording();
std::vector<GlCall> stopRecording();
