#include "render/hud.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "render/hud_font.h"
#include "render/pixel_space.h"
#include "scene/gl_headers.h"
#include "scene/scene_state.h"

namespace {

// The readout is one of GLUT's bitmap fonts, drawn once with glBitmap to learn its glyphs'
// pixels. Bitmap text, blending and alpha tests all cost a software rasteriser more than the
// whole scene, and every pixel of an overlay costs about as much whatever is drawn on it; so
// the readout is a small font, each box is composed on the CPU, in its colours over a dark
// ground, into a texture (a line only when it changes), and drawn as one opaque quad whose
// edges lie on the rasteriser's grid of 4 × 4 blocks, where no pixel needs an edge test.
constexpr int kLineHeight = kHudLineHeight;
constexpr int kMargin = 4;  // between the window's edge and the text
// Each multiple of this window size takes the readout one step larger.
constexpr int kScaleWidth = 600;
constexpr int kScaleHeight = 300;
constexpr int kGrid = 4;
constexpr int kBoxWidth = 256;                        // the widest a line may be, in pixels
constexpr int kBoxCount = kHudBoxCount;               // side by side in the texture
constexpr int kTextureWidth = kBoxCount * kBoxWidth;  // powers of two
constexpr int kTextureHeight = 256;
constexpr int kMaxLines = kTextureHeight / kLineHeight - 1;  // and a blank one below them

constexpr GLfloat kGroundColour[3] = {0.1f, 0.1f, 0.13f};  // behind the text

using Piece = HudPiece;
using Line = HudLine;

constexpr GLfloat kLightTextLift = 1.0f / 3.0f;
using Colour = std::array<GLfloat, 3>;
std::array<Colour, kLightCount> liftedLightColours() {
  std::array<Colour, kLightCount> lifted{};
  for (int k = 0; k < kLightCount; ++k) {
    for (int c = 0; c < 3; ++c) {
      lifted[k][c] = kLights[k].colour[c] + (1.0f - kLights[k].colour[c]) * kLightTextLift;
    }
  }
  return lifted;
}
const std::array<Colour, kLightCount> kLightText = liftedLightColours();

using Cell = HudCell;
using LineImage = HudLineImage;
using Box = std::vector<LineImage>;

int widthOf(const HudFont& font, const Line& pieces) {
  int width = 0;
  for (const Piece& piece : pieces) {
    for (const char c : piece.text) {
      width += glyphAdvance(font, c);
    }
  }
  return width;
}

// A box's lines, as wide as the longest on the grid, aligned left or right, and a blank line
// below them for the rows the grid adds.
Box boxOf(const HudFont& font, const std::vector<Line>& lines, bool alignRight) {
  const std::size_t count = std::min<std::size_t>(lines.size(), kMaxLines);
  std::vector<int> widths(count);
  int width = 0;
  for (std::size_t i = 0; i < count; ++i) {
    widths[i] = widthOf(font, lines[i]);
    width = std::max(width, widths[i]);
  }
  width = std::min((width + kGrid - 1) / kGrid * kGrid, kBoxWidth);
  Box box(count);
  for (std::size_t i = 0; i < count; ++i) {
    for (const Piece& piece : lines[i]) {
      for (const char c : piece.text) {
        box[i].cells.push_back({c, piece.colour});
      }
    }
    box[i].indent = alignRight ? std::max(0, width - widths[i]) : 0;
    box[i].width = width;
  }
  box.push_back({{}, 0, width});
  return box;
}

using Rgba = std::array<unsigned char, 4>;
static_assert(sizeof(Rgba) == 4, "texture rows are arrays of Rgba");

Rgba rgbaOf(const GLfloat* colour) {
  const auto channel = [](GLfloat value) {
    return static_cast<unsigned char>(value * 255.0f + 0.5f);
  };
  return {channel(colour[0]), channel(colour[1]), channel(colour[2]), 255};
}

// Writes `line` into line `slot` of box `box` in the texture when it holds something else.
// The texture's rows run from the top of the box down, so that a box is drawn by one quad.
void compose(Readout& readout, int box, std::size_t slot, const LineImage& line) {
  Box& held = readout.composed[box];
  if (held.size() <= slot) {
    held.resize(slot + 1);
  }
  if (held[slot] == line || line.width == 0) {
    return;
  }
  std::vector<Rgba>& pixels = readout.linePixels;
  pixels.assign(static_cast<std::size_t>(line.width) * kLineHeight, rgbaOf(kGroundColour));
  int pen = line.indent;
  for (const Cell& cell : line.cells) {
    if (pen >= line.width) {
      break;  // the rest of a line too long for the box is not shown
    }
    const Rgba ink = rgbaOf(cell.colour);
    const int width = std::min(glyphAdvance(readout.font, cell.c), line.width - pen);
    for (int row = 0; row < kLineHeight; ++row) {
      Rgba* out = &pixels[static_cast<std::size_t>(kLineHeight - 1 - row) * line.width + pen];
      for (int x = 0; x < width; ++x) {
        if (glyphInked(readout.font, cell.c, x, row)) {
          out[x] = ink;
        }
      }
    }
    pen += glyphAdvance(readout.font, cell.c);
  }
  glTexSubImage2D(GL_TEXTURE_2D, 0, box * kBoxWidth, static_cast<GLint>(slot) * kLineHeight,
                  line.width, kLineHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  held[slot] = line;
}

// Only the lines that changed since the box was last composed are composed again.
void composeBox(Readout& readout, int box, const Box& lines) {
  for (std::size_t slot = 0; slot < lines.size(); ++slot) {
    compose(readout, box, slot, lines[slot]);
  }
}

int onGrid(int pixels) {
  return pixels / kGrid * kGrid;
}

// Box `box` as one quad, its top right or top left corner at (edge, top), its lines but the
// blank one below them shown, and as many of that one's rows as bring its height onto the grid;
// each texel `scale` pixels wide and high.
void drawBox(int box, const Box& lines, int edge, bool alignRight, int top, int scale) {
  const int width = lines.front().width;
  const int shown = static_cast<int>(lines.size()) - 1;
  const int height = (shown * kLineHeight + kGrid - 1) / kGrid * kGrid;
  const int left = alignRight ? edge - width * scale : edge;
  const GLfloat s0 = static_cast<GLfloat>(box * kBoxWidth) / kTextureWidth;
  const GLfloat s1 = static_cast<GLfloat>(box * kBoxWidth + width) / kTextureWidth;
  const GLfloat t1 = static_cast<GLfloat>(height) / kTextureHeight;
  glTexCoord2f(s0, t1);
  glVertex2i(left, top - height * scale);
  glTexCoord2f(s1, t1);
  glVertex2i(left + width * scale, top - height * scale);
  glTexCoord2f(s1, 0.0f);
  glVertex2i(left + width * scale, top);
  glTexCoord2f(s0, 0.0f);
  glVertex2i(left, top);
}

// How many pixels a texel of the readout takes: one in the 620 × 160 window, more in larger
// ones, so that the text keeps its size against the scene's; whole numbers keep it sharp.
int readoutScale(int width, int height) {
  return std::max(1, std::min(width / kScaleWidth, height / kScaleHeight));
}

}  // namespace

const GLfloat* hudLightColour(int k) {
  return kLightText[k].data();
}

void prepareHud(Readout& readout, GlLookUp lookUp) {
  GLuint& texture = readout.texture;
  if (texture != 0) {
    return;
  }
  // Before any frame, which clears the back buffer.
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  readHudFont(readout.font, viewport[2], viewport[3], lookUp);
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  const std::vector<unsigned char> blank(static_cast<std::size_t>(kTextureWidth) * kTextureHeight *
                                         4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureWidth, kTextureHeight, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, blank.data());
  glPopClientAttrib();
  glPopAttrib();
}

void drawHud(Readout& readout, const HudText& text) {
  // Every state the readout touches comes back as it was, so the next frame starts as if the
  // readout had never been drawn.
  // The texture binding and mode are kept by hand: saving all texture state would make the
  // next frame set it all up again.
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_TRANSFORM_BIT);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLint boundTexture = 0;
  GLint textureMode = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &textureMode);
  beginOverlay(viewport[2], viewport[3]);
  glBindTexture(GL_TEXTURE_2D, readout.texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);  // the lit colour is not used
  glEnable(GL_TEXTURE_2D);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const Box switches = boxOf(readout.font, text.switches, false);
  const Box figures = boxOf(readout.font, text.figures, true);
  composeBox(readout, 0, switches);
  composeBox(readout, 1, figures);
  const int top = onGrid(viewport[3] - kMargin);
  glBegin(GL_QUADS);
  const int scale = readoutScale(viewport[2], viewport[3]);
  drawBox(0, switches, kMargin, false, top, scale);
  drawBox(1, figures, onGrid(viewport[2] - kMargin), true, top, scale);
  glEnd();
  endOverlay();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, textureMode);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
  glPopClientAttrib();
  glPopAttrib();
}
