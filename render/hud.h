// The on-screen readout of --hud: two boxes of text, at the window's left and right edges,
// clear of the torus and its marker at any window size. What they say is the run's; how they
// look is here.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "render/hud_font.h"
#include "scene/gl_headers.h"

// A run of characters in one colour, and a line of them. Colours are the constants below, or
// a light's; each has one address, by which a line knows it has not changed.
struct HudPiece {
  std::string text;
  const GLfloat* colour;
  bool operator==(const HudPiece& other) const {
    return text == other.text && colour == other.colour;
  }
};
using HudLine = std::vector<HudPiece>;

struct HudText {
  std::vector<HudLine> switches;  // the left box
  std::vector<HudLine> figures;   // the right box, aligned to the window's edge
};

inline constexpr GLfloat kHudLabelColour[3] = {0.6f, 0.6f, 0.65f};
inline constexpr GLfloat kHudValueColour[3] = {1.0f, 1.0f, 1.0f};
inline constexpr GLfloat kHudOffColour[3] = {0.3f, 0.3f, 0.3f};

// Light k's colour lifted a third of the way to white, so that the darkest (light 1's pure
// blue) still reads on the readout's dark ground; the hue stays the light's.
const GLfloat* hudLightColour(int k);

// A character of a line as the texture holds it, and its colour.
struct HudCell {
  char c;
  const GLfloat* colour;
  bool operator==(const HudCell& other) const { return c == other.c && colour == other.colour; }
};

// A line as the texture holds it: its characters from pixel `indent` on, ground elsewhere
// up to `width`.
struct HudLineImage {
  std::vector<HudCell> cells;
  int indent = 0;
  int width = 0;
  bool operator==(const HudLineImage& other) const {
    return cells == other.cells && indent == other.indent && width == other.width;
  }
};

inline constexpr int kHudBoxCount = 2;  // the switches' box and the figures'

// What the readout keeps from frame to frame: its font, and the texture its boxes are composed
// in, with what each line of each box there holds, so that only a line that changed is
// composed again.
struct Readout {
  HudFont font;
  GLuint texture = 0;
  std::vector<HudLineImage> composed[kHudBoxCount];
  std::vector<std::array<unsigned char, 4>> linePixels;  // kept: a changing line is composed
                                                         // on every frame
};

// Draws the font into a texture: once, before the first frame. Needs a current GL context.
void prepareHud(Readout& readout, GlLookUp lookUp);

// Draws the readout over the frame in the back buffer, leaving every GL state as it found it.
void drawHud(Readout& readout, const HudText& text);
