// The readout's font: one of GLUT's bitmap fonts, drawn once and read back to learn its glyphs'
// pixels, so that each line can be composed on the CPU.
#pragma once

#include <vector>

#include "scene/gl_headers.h"

// A line's height in pixels: every glyph's ink, and a blank row above it.
inline constexpr int kHudLineHeight = 11;
inline constexpr int kHudGlyphCount = 96;  // printable ASCII

// The font as read back: its glyphs' pixels, 0 or 255, a sheet row of glyphs at a time, the
// first row lowest; where each glyph starts in its row, and how far it moves the pen.
struct HudFont {
  std::vector<unsigned char> sheet;
  int sheetWidth = 0;
  int start[kHudGlyphCount] = {};
  int advance[kHudGlyphCount] = {};
};

// Draws the font and reads it back: once, with a current GL context, before the first frame,
// which clears what it drew; `width` and `height` are the window's, used only where GL has no
// framebuffer objects to draw it into instead.
void readHudFont(HudFont& font, int width, int height, GlLookUp lookUp);

// How far a character moves the pen; characters the font lacks are drawn as '?'.
int glyphAdvance(const HudFont& font, char c);

// Whether the character has ink at pixel x of its advance, `row` rows up from a line's bottom.
bool glyphInked(const HudFont& font, char c, int x, int row);
