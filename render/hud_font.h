// The readout's font: one of GLUT's bitmap fonts, drawn once and read back to learn its glyphs'
// pixels, so that each line can be composed on the CPU.
#pragma once

// A line's height in pixels: every glyph's ink, and a blank row above it.
inline constexpr int kHudLineHeight = 11;

// Draws the font and reads it back: once, with a current GL context, before the first frame,
// which clears what it drew; `width` and `height` are the window's, used only where GL has no
// framebuffer objects to draw it into instead.
void readHudFont(int width, int height);

// How far a character moves the pen; characters the font lacks are drawn as '?'.
int glyphAdvance(char c);

// Whether the character has ink at pixel x of its advance, `row` rows up from a line's bottom.
bool glyphInked(char c, int x, int row);
