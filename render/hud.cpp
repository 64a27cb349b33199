#include "render/hud.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "scene/gl_headers.h"

namespace {

// The readout is GLUT's 8 × 13 font, drawn once with glBitmap to learn its glyphs' pixels.
// Bitmap text through a software rasteriser costs more than the whole scene, and so does
// blending or an alpha test over many pixels; so each line is composed on the CPU, in its
// colours over a dark ground, into a texture when it changes, and drawn as one opaque quad.
// What changes on every frame (the frame number, the frame rate) is drawn digit by digit from
// a line of digits composed once: a texture that changes while a frame still uses it would
// make the rasteriser finish that frame first.
void* const kFont = GLUT_BITMAP_8_BY_13;
constexpr int kCharWidth = 8;
constexpr int kLineHeight = 13;
constexpr int kDescent = 3;  // of the font, below its baseline
constexpr int kMargin = 4;   // between the window's edge and the text
constexpr int kFirstGlyph = 32;
constexpr int kGlyphCount = 96;
constexpr int kGlyphsARow = 16;    // as the font is laid out in the frame to be read back
constexpr int kTextureSide = 256;  // a power of two: 19 lines of 32 characters
constexpr int kMaxLines = kTextureSide / kLineHeight;
constexpr int kMaxColumns = kTextureSide / kCharWidth;
constexpr char kDigits[] = "0123456789.-";
constexpr int kDigitsSlot = kMaxLines - 1;

constexpr GLfloat kLabelColour[3] = {0.6f, 0.6f, 0.65f};
constexpr GLfloat kValueColour[3] = {1.0f, 1.0f, 1.0f};
constexpr GLfloat kOffColour[3] = {0.3f, 0.3f, 0.3f};
constexpr GLfloat kGroundColour[3] = {0.1f, 0.1f, 0.13f};  // behind the text

// A run of characters in one colour, and a line of them.
struct Piece {
  std::string text;
  const GLfloat* colour;
  bool changing = false;  // drawn digit by digit from the line of digits
};
using Line = std::vector<Piece>;

Line line(const std::string& key, const std::string& value, bool changing = false) {
  return {{key + " ", kLabelColour}, {value, kValueColour, changing}};
}

std::vector<Line> switchLines(const SceneState& s) {
  return {
      line("f", s.shadeModel == GL_SMOOTH ? "smooth" : "flat"),
      line("p", s.polygonMode == GL_FILL ? "filled" : "wire-frame"),
      line("q", s.stripPrimitive == GL_QUAD_STRIP ? "quad strip" : "tri strip"),
      line("L", s.lightingOn ? "lit" : "unlit"),
      line("l", s.localViewer ? "near viewer" : "far viewer"),
      line("i", s.specularOn ? "shiny" : "no shine"),
      line("e", s.envMapOn ? "mapped" : "no map"),
      line("E", s.modulateTexture ? "modulate" : "decal"),
      line("c", s.cullFaces ? "culled" : "no culling"),
      line("o", s.gradientColour ? "gradient" : "plain"),
      line("a", s.animate ? "animated" : "paused"),
  };
}

std::string twoNumbers(std::int32_t a, std::int32_t b) {
  return std::to_string(a) + " " + std::to_string(b);
}

std::vector<Line> figureLines(const SceneState& s, const HudFigures& figures) {
  Line lights = {{"1-5", kLabelColour}};
  for (int k = 0; k < kLightCount; ++k) {
    lights.push_back({" " + std::to_string(k + 1), s.lightOn[k] ? kLights[k].colour : kOffColour});
  }
  std::vector<Line> lines = {
      line("W/w", std::to_string(s.turnCount) + " turns"),
      line("N/n", std::to_string(s.stepsPerTurn) + " steps"),
      line("spin", twoNumbers(s.spinRateX, s.spinRateY)),
      line("x/z view", twoNumbers(s.viewTiltX, s.viewTurnY)),
      lights,
      line("frame", std::to_string(figures.frame), true),
  };
  if (figures.framesPerSecond >= 0.0) {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", figures.framesPerSecond);
    lines.push_back(line("fps", rate, true));
  }
  return lines;
}

// A character of a line in the texture, and its colour.
struct Cell {
  char c;
  const GLfloat* colour;
  bool operator==(const Cell& other) const { return c == other.c && colour == other.colour; }
};
using Cells = std::vector<Cell>;

// What a line puts into the texture: its characters in their colours, with blanks where they
// change from frame to frame.
Cells cellsOf(const Line& pieces) {
  Cells cells;
  for (const Piece& piece : pieces) {
    for (const char c : piece.text) {
      if (cells.size() < kMaxColumns) {
        cells.push_back({piece.changing ? ' ' : c, piece.colour});
      }
    }
  }
  return cells;
}

// The font's pixels, 0 or 255, as read back: kGlyphsARow glyphs a row, the first row lowest.
std::vector<unsigned char> font;
constexpr int kFontWidth = kGlyphsARow * kCharWidth;
constexpr int kFontRows = kGlyphCount / kGlyphsARow;

unsigned char fontPixel(int glyph, int x, int y) {
  const int row = glyph / kGlyphsARow;
  const int column = glyph % kGlyphsARow;
  return font[static_cast<std::size_t>(row * kLineHeight + y) * kFontWidth + column * kCharWidth +
              x];
}

GLuint texture = 0;
std::vector<Cells> composed(kMaxLines);  // what each line of the texture holds

unsigned char channel(GLfloat value) {
  return static_cast<unsigned char>(value * 255.0f + 0.5f);
}

// Writes `cells` into texture line `slot` when it holds something else.
void compose(int slot, const Cells& cells) {
  if (composed[slot] == cells) {
    return;
  }
  std::vector<unsigned char> pixels(static_cast<std::size_t>(kTextureSide) * kLineHeight * 4);
  for (int y = 0; y < kLineHeight; ++y) {
    for (int x = 0; x < kTextureSide; ++x) {
      const std::size_t column = static_cast<std::size_t>(x / kCharWidth);
      const int glyph =
          column < cells.size() ? static_cast<unsigned char>(cells[column].c) - kFirstGlyph : -1;
      const bool lit =
          glyph >= 0 && glyph < kGlyphCount && fontPixel(glyph, x % kCharWidth, y) != 0;
      const GLfloat* colour = lit ? cells[column].colour : kGroundColour;
      unsigned char* pixel = &pixels[(static_cast<std::size_t>(y) * kTextureSide + x) * 4];
      pixel[0] = channel(colour[0]);
      pixel[1] = channel(colour[1]);
      pixel[2] = channel(colour[2]);
      pixel[3] = 255;
    }
  }
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, slot * kLineHeight, kTextureSide, kLineHeight, GL_RGBA,
                  GL_UNSIGNED_BYTE, pixels.data());
  composed[slot] = cells;
}

// One quad: columns [from, to) of texture line `slot`, its lower left corner at (x, y).
void drawRun(int slot, std::size_t from, std::size_t to, int x, int y) {
  const GLfloat s0 = static_cast<GLfloat>(from * kCharWidth) / kTextureSide;
  const GLfloat s1 = static_cast<GLfloat>(to * kCharWidth) / kTextureSide;
  const GLfloat t0 = static_cast<GLfloat>(slot * kLineHeight) / kTextureSide;
  const GLfloat t1 = static_cast<GLfloat>((slot + 1) * kLineHeight) / kTextureSide;
  const int width = static_cast<int>(to - from) * kCharWidth;
  glTexCoord2f(s0, t0);
  glVertex2i(x, y);
  glTexCoord2f(s1, t0);
  glVertex2i(x + width, y);
  glTexCoord2f(s1, t1);
  glVertex2i(x + width, y + kLineHeight);
  glTexCoord2f(s0, t1);
  glVertex2i(x, y + kLineHeight);
}

// The digits of a changing piece from the line of digits, from column `column` of a line
// whose left edge is `left`.
void drawDigits(const Piece& piece, std::size_t column, int left, int y) {
  for (std::size_t i = 0; i < piece.text.size() && column + i < kMaxColumns; ++i) {
    const char* digit = std::strchr(kDigits, piece.text[i]);
    if (digit != nullptr && *digit != '\0') {
      const std::size_t at = static_cast<std::size_t>(digit - kDigits);
      drawRun(kDigitsSlot, at, at + 1, left + static_cast<int>(column + i) * kCharWidth, y);
    }
  }
}

// Lines from texture line `firstSlot` on, the first with its top at `top`, aligned to `edge`:
// their right ends there when `alignRight`, else their left ends. Each is one quad, then its
// changing digits over it.
void drawLines(const std::vector<Line>& lines, int firstSlot, int edge, bool alignRight, int top) {
  int y = top - kLineHeight;
  for (std::size_t i = 0; i < lines.size() && firstSlot + static_cast<int>(i) < kDigitsSlot; ++i) {
    const int slot = firstSlot + static_cast<int>(i);
    const std::size_t columns = composed[slot].size();
    const int left = alignRight ? edge - static_cast<int>(columns) * kCharWidth : edge;
    drawRun(slot, 0, columns, left, y);
    std::size_t column = 0;
    for (const Piece& piece : lines[i]) {
      if (piece.changing) {
        drawDigits(piece, column, left, y);
      }
      column += piece.text.size();
    }
    y -= kLineHeight;
  }
}

void composeLines(const std::vector<Line>& lines, int firstSlot) {
  for (std::size_t i = 0; i < lines.size() && firstSlot + static_cast<int>(i) < kDigitsSlot; ++i) {
    compose(firstSlot + static_cast<int>(i), cellsOf(lines[i]));
  }
}

// Window pixels; no depth, lighting, colour tracking, texture coordinate generation or culling;
// filled.
void beginOverlay(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);  // or the text's colours would be the next frame's material
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glDisable(GL_CULL_FACE);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void endOverlay() {
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
}

// Draws the font into the back buffer's lower left corner and reads its pixels back.
void readFont(int width, int height) {
  beginOverlay(width, height);
  glDisable(GL_TEXTURE_2D);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(1.0f, 1.0f, 1.0f);
  for (int glyph = 0; glyph < kGlyphCount; ++glyph) {
    if (glyph % kGlyphsARow == 0) {
      glRasterPos2i(0, glyph / kGlyphsARow * kLineHeight + kDescent);
    }
    glutBitmapCharacter(kFont, kFirstGlyph + glyph);  // which moves the raster position on
  }
  font.assign(static_cast<std::size_t>(kFontWidth) * kFontRows * kLineHeight, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kFontWidth, kFontRows * kLineHeight, GL_RED, GL_UNSIGNED_BYTE, font.data());
  for (unsigned char& pixel : font) {
    pixel = pixel > 127 ? 255 : 0;
  }
  endOverlay();
}

}  // namespace

std::vector<std::string> hudLines(const SceneState& state, const HudFigures& figures) {
  std::vector<std::string> lines;
  for (const std::vector<Line>& box : {switchLines(state), figureLines(state, figures)}) {
    for (const Line& pieces : box) {
      std::string text;
      for (const Piece& piece : pieces) {
        text += piece.text;
      }
      lines.push_back(text);
    }
  }
  return lines;
}

void prepareHud() {
  if (texture != 0) {
    return;
  }
  // Before any frame, which clears the back buffer.
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  readFont(viewport[2], viewport[3]);
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  const std::vector<unsigned char> blank(static_cast<std::size_t>(kTextureSide) * kTextureSide * 4);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureSide, kTextureSide, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               blank.data());
  compose(kDigitsSlot, cellsOf({{kDigits, kValueColour}}));
  glPopClientAttrib();
  glPopAttrib();
}

void drawHud(const SceneState& state, const HudFigures& running) {
  // Every state the readout touches comes back as it was, so the next frame starts as if the
  // readout had never been drawn.
  // The texture binding and mode are kept by hand: saving all texture state would make the
  // next frame set it all up again.
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_COLOR_BUFFER_BIT |
               GL_TRANSFORM_BIT);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLint boundTexture = 0;
  GLint textureMode = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &textureMode);
  beginOverlay(viewport[2], viewport[3]);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_TEXTURE_2D);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const std::vector<Line> switches = switchLines(state);
  const std::vector<Line> figures = figureLines(state, running);
  const int figuresSlot = static_cast<int>(switches.size());
  composeLines(switches, 0);
  composeLines(figures, figuresSlot);
  glBegin(GL_QUADS);
  drawLines(switches, 0, kMargin, false, viewport[3] - kMargin);
  drawLines(figures, figuresSlot, viewport[2] - kMargin, true, viewport[3] - kMargin);
  glEnd();
  endOverlay();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, textureMode);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
  glPopClientAttrib();
  glPopAttrib();
}
