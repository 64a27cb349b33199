#include "render/hud_font.h"

#include <algorithm>
#include <vector>

#include "render/framebuffer.h"
#include "render/glut_headers.h"
#include "render/pixel_space.h"
#include "render/read_back.h"

namespace {

// GLUT names its fonts by addresses (or small numbers) of its own.
void* readoutFont() {
  return GLUT_BITMAP_HELVETICA_10;
}
constexpr int kSheetRowHeight = 16;  // a row of glyphs in the frame the font is read from
constexpr int kBaseline = 4;         // above the bottom of a sheet row
constexpr int kLineBottom = 2;       // the lowest row of a sheet row that a line shows
constexpr int kFirstGlyph = 32;
constexpr int kGlyphCount = kHudGlyphCount;
constexpr int kGlyphsARow = 16;
constexpr int kSheetRows = kGlyphCount / kGlyphsARow;
constexpr int kSheetWidth = 256;  // the framebuffer the font is drawn into: room for every row
constexpr int kSheetHeight = 128;

int glyphOf(char c) {
  const int glyph = static_cast<unsigned char>(c) - kFirstGlyph;
  return glyph >= 0 && glyph < kGlyphCount ? glyph : '?' - kFirstGlyph;
}

bool inked(const HudFont& font, int glyph, int x, int row) {
  const int y = glyph / kGlyphsARow * kSheetRowHeight + kLineBottom + row;
  return font.sheet[static_cast<std::size_t>(y) * font.sheetWidth + font.start[glyph] + x] != 0;
}

}  // namespace

// Draws the font into the lower left corner of a framebuffer of its own where GL has them, so
// that it comes back whole whatever the window's size, else of the back buffer, and reads its
// pixels back.
void readHudFont(HudFont& font, int width, int height, GlLookUp lookUp) {
  Framebuffer sheet;
  if (haveFramebuffers(lookUp) && sizeFramebuffer(sheet, kSheetWidth, kSheetHeight, 0)) {
    drawInto(sheet);
    width = kSheetWidth;
    height = kSheetHeight;
    glViewport(0, 0, width, height);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
  } else {
    glReadBuffer(GL_BACK);
  }
  beginOverlay(width, height);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(1.0f, 1.0f, 1.0f);
  int pen = 0;
  for (int glyph = 0; glyph < kGlyphCount; ++glyph) {
    if (glyph % kGlyphsARow == 0) {
      pen = 0;
      glRasterPos2i(0, glyph / kGlyphsARow * kSheetRowHeight + kBaseline);
    }
    font.start[glyph] = pen;
    font.advance[glyph] = glutBitmapWidth(readoutFont(), kFirstGlyph + glyph);
    glutBitmapCharacter(readoutFont(), kFirstGlyph + glyph);  // which moves the raster position on
    pen += font.advance[glyph];
    font.sheetWidth = std::max(font.sheetWidth, pen);
  }
  font.sheet = readBack(font.sheetWidth, kSheetRows * kSheetRowHeight, GL_RED);
  drawIntoWindow();
  for (unsigned char& pixel : font.sheet) {
    pixel = pixel > 127 ? 255 : 0;
  }
  endOverlay();
}

int glyphAdvance(const HudFont& font, char c) {
  return font.advance[glyphOf(c)];
}

bool glyphInked(const HudFont& font, char c, int x, int row) {
  return inked(font, glyphOf(c), x, row);
}
