// The on-screen readout of --hud: two boxes of text, at the window's left and right edges,
// clear of the torus and its marker at any window size. What they say is the run's; how they
// look is here.
#pragma once

#include <string>
#include <vector>

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

// Draws the font into a texture: once, before the first frame. Needs a current GL context.
void prepareHud();

// Draws the readout over the frame in the back buffer, leaving every GL state as it found it.
void drawHud(const HudText& text);
