#include "render/TextBatch.h"

#include "core/Font.h"
#include "platform/win32.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

struct PaletteColour {
  std::uint8_t r, g, b;
};

constexpr std::array<PaletteColour, N_TextBatch::kPaletteSize> kPalette{{
    {255, 255, 255}, {255, 0, 0},   {0, 255, 0},   {0, 0, 255},    {127, 0, 255},  {255, 255, 0},
    {0, 255, 255},   {0, 0, 0},     {202, 202, 252}, {0, 0, 102},  {20, 233, 241}, {180, 180, 180},
}};

constexpr float kCharWidth = 8.0f;   ///< fixed-font cell on screen at scale 1
constexpr float kCharHeight = 16.0f;
constexpr float kFadeXAdvances = 4.0f;
constexpr float kFadeYUnits = 82.0f;

bool IsBlank(unsigned char c) { return c == ' '; }

std::uint32_t WithAlpha(std::uint32_t rgb, std::int32_t alpha) {
  return (static_cast<std::uint32_t>(alpha) & 0xFFu) << 24 | (rgb & 0xFFFFFFu);
}

/// The palette colour with the alpha on top; false for an index outside the palette.
bool PaletteArgb(std::int32_t index, std::int32_t alpha, std::uint32_t& argb) {
  if (index < 0 || index >= N_TextBatch::kPaletteSize) {
    OutputDebugStringA("Text palette index out of range\n");
    return false;
  }
  const PaletteColour& c = kPalette[std::size_t(index)];
  argb = WithAlpha(std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b, alpha);
  return true;
}

std::uint32_t QuadsOf(const char* text) {
  std::uint32_t quads = 0;
  for (const char* p = text; *p; ++p) quads += !IsBlank(static_cast<unsigned char>(*p));
  return quads;
}

/// The fading alpha at position p: the alpha scaled by the distance to the nearer
/// limit within w, else the alpha.
std::int32_t FadedAlpha(std::int32_t alpha, float p, float first, float second, float w) {
  const float d1 = std::fabs(p - first) / w;
  const float d2 = std::fabs(p - second) / w;
  if (d1 < 1.0f) return static_cast<std::int32_t>(float(alpha) * d1);
  if (d2 < 1.0f) return static_cast<std::int32_t>(float(alpha) * d2);
  return alpha;
}

}  // namespace

N_TextBatch::N_TextBatch(N_TextBatchTarget* target)
    : m_target(target), m_entries(kMaxEntries), m_indices(kMaxIndices), m_vertices(kMaxVertices) {
  for (std::uint32_t q = 0; q < kMaxIndices / 6; ++q) {
    const auto v = static_cast<std::uint16_t>(4 * q);
    const std::uint16_t pattern[6] = {v, std::uint16_t(v + 1), std::uint16_t(v + 2), std::uint16_t(v + 2),
                                      std::uint16_t(v + 1), std::uint16_t(v + 3)};
    std::memcpy(&m_indices[6 * q], pattern, sizeof pattern);
  }
}

N_TextBatch::~N_TextBatch() = default;

void N_TextBatch::Init() {
  for (N_MeshSurface& entry : m_entries) {
    entry = N_MeshSurface{};
    entry.indexed = 1;
  }
  m_entryCount = m_indexCount = m_vertexCount = 0;
}

N_MeshSurface* N_TextBatch::BeginEntry(std::int32_t shader, std::uint32_t quads) {
  if (m_entryCount >= kMaxEntries || m_indexCount + 6 * quads > kMaxIndices ||
      m_vertexCount + 4 * quads > kMaxVertices) {
    OutputDebugStringA("Buffer overflow!!!");
    return nullptr;
  }
  N_MeshSurface& entry = m_entries[m_entryCount];
  entry.shader = shader;
  entry.vertices = &m_vertices[m_vertexCount];
  entry.indices = m_indices.data();
  entry.vertexCount = 0;
  entry.indexCount = 0;
  entry.primitiveType = 0;
  return &entry;
}

void N_TextBatch::AppendQuad(N_MeshSurface& entry, const Corners& c, const std::uint32_t colours[4]) {
  const float xs[4] = {c.x0, c.x1, c.x0, c.x1};
  const float ys[4] = {c.y0, c.y0, c.y1, c.y1};
  const float us[4] = {c.u0, c.u1, c.u0, c.u1};
  const float vs[4] = {c.v0, c.v0, c.v1, c.v1};
  for (int i = 0; i < 4; ++i) {
    N_SurfaceVertex& v = m_vertices[m_vertexCount + std::uint32_t(i)];
    v.position[0] = xs[i];
    v.position[1] = ys[i];
    v.position[2] = 0.0f;
    v.colour = colours[i];
    v.uv0[0] = us[i];
    v.uv0[1] = vs[i];
  }
  m_vertexCount += 4;
  m_indexCount += 6;
  entry.vertexCount += 4;
  entry.indexCount = static_cast<std::uint16_t>(entry.indexCount + 6);
}

void N_TextBatch::AddText(const char* text, std::int32_t shader, float x, float y, float scale, std::int32_t colour,
                          std::int32_t alpha) {
  std::uint32_t argb = 0;
  if (!text || !PaletteArgb(colour, alpha, argb)) return;
  N_MeshSurface* entry = BeginEntry(shader, QuadsOf(text));
  if (!entry) return;
  const std::uint32_t colours[4] = {argb, argb, argb, argb};
  float cursor = x;
  for (const char* p = text; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (!IsBlank(c)) {
      // Rows 8-15 come out as negative v (the row read as a signed byte), which a
      // repeating picture maps back onto them.
      const float u = float(c & 15) / 16.0f;
      const float v = float(static_cast<std::int8_t>(c & 0xF0)) / 256.0f;
      const Corners corners{cursor, y, cursor + kCharWidth * scale, y + kCharHeight * scale,
                            u, v, u + 15.0f / 256.0f, v + 1.0f / 16.0f};
      AppendQuad(*entry, corners, colours);
    }
    cursor += kCharWidth * scale;
  }
  ++m_entryCount;
}

void N_TextBatch::AddFontText(const char* text, std::int32_t shader, const N_Font* font, float x, float y,
                              std::int32_t hAlign, std::int32_t vAlign, float scale, std::int32_t colour,
                              std::int32_t alpha) {
  if (!font || !text) return;
  QueueFontText(text, shader, *font, x, y, hAlign, vAlign, scale, colour, alpha, {});
}

void N_TextBatch::AddFontTextFadeX(const char* text, std::int32_t shader, const N_Font* font, float x, float y,
                                   float left, float right, std::int32_t hAlign, std::int32_t vAlign, float scale,
                                   std::int32_t colour, std::int32_t alpha) {
  if (!font || !text) return;
  QueueFontText(text, shader, *font, x, y, hAlign, vAlign, scale, colour, alpha, {Fade::X, left, right});
}

void N_TextBatch::AddFontTextFadeY(const char* text, std::int32_t shader, const N_Font* font, float x, float y,
                                   float top, float bottom, std::int32_t hAlign, std::int32_t vAlign, float scale,
                                   std::int32_t colour, std::int32_t alpha) {
  if (!font || !text) return;
  QueueFontText(text, shader, *font, x, y, hAlign, vAlign, scale, colour, alpha, {Fade::Y, top, bottom});
}

void N_TextBatch::QueueFontText(const char* text, std::int32_t shader, const N_Font& font, float x, float y,
                                std::int32_t hAlign, std::int32_t vAlign, float scale, std::int32_t colour,
                                std::int32_t alpha, const FadeLimits& fade) {
  std::uint32_t argb = 0;
  if (!PaletteArgb(colour, alpha, argb)) return;
  N_MeshSurface* entry = BeginEntry(shader, QuadsOf(text));
  if (!entry) return;
  float width = 0.0f;
  MeasureText(text, &font, scale, &width, nullptr);
  float cursor = hAlign == kCentre ? x - width / 2.0f : hAlign == kRight ? x - width : x;
  const float top = vAlign == kMiddle ? y - 8.0f * scale : vAlign == kBottom ? y - 16.0f * scale : y;
  const float bottom = top + kCharHeight * scale;
  for (const char* p = text; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    const N_Glyph& glyph = font.GetGlyph(c);
    const float right = cursor + scale * glyph.advance;
    if (!IsBlank(c)) {
      std::uint32_t colours[4] = {argb, argb, argb, argb};
      if (fade.fade == Fade::X) {
        const float w = scale * glyph.advance * kFadeXAdvances;
        colours[0] = colours[2] = WithAlpha(argb, FadedAlpha(alpha, cursor, fade.first, fade.second, w));
        colours[1] = colours[3] = WithAlpha(argb, FadedAlpha(alpha, right, fade.first, fade.second, w));
      } else if (fade.fade == Fade::Y) {
        const float w = scale * kFadeYUnits;
        colours[0] = colours[1] = WithAlpha(argb, FadedAlpha(alpha, top, fade.first, fade.second, w));
        colours[2] = colours[3] = WithAlpha(argb, FadedAlpha(alpha, bottom, fade.first, fade.second, w));
      }
      const Corners corners{cursor, top, right, bottom, glyph.left, glyph.top, glyph.right, glyph.bottom};
      AppendQuad(*entry, corners, colours);
    }
    cursor = right;
  }
  ++m_entryCount;
}

void N_TextBatch::AddQuad(std::int32_t shader, float x, float y, float width, float height, float uMax, float vMax,
                          std::int32_t alpha) {
  QueueQuad(shader, x, y, width, height, uMax, vMax, WithAlpha(0xFFFFFF, alpha));
}

void N_TextBatch::AddColorQuad(std::int32_t shader, float x, float y, float width, float height, float uMax,
                               float vMax, const std::uint8_t* colour) {
  if (!colour) return;
  const std::uint32_t argb = std::uint32_t(colour[0]) << 24 | std::uint32_t(colour[1]) << 16 |
                             std::uint32_t(colour[2]) << 8 | colour[3];
  QueueQuad(shader, x, y, width, height, uMax, vMax, argb);
}

void N_TextBatch::QueueQuad(std::int32_t shader, float x, float y, float width, float height, float uMax, float vMax,
                            std::uint32_t colour) {
  N_MeshSurface* entry = BeginEntry(shader, 1);
  if (!entry) return;
  const std::uint32_t colours[4] = {colour, colour, colour, colour};
  AppendQuad(*entry, {x, y, x + width, y + height, 0.0f, 0.0f, uMax, vMax}, colours);
  ++m_entryCount;
}

void N_TextBatch::MeasureText(const char* text, const N_Font* font, float scale, float* width, float* height) const {
  float sum = 0.0f;
  for (const char* p = text ? text : ""; *p; ++p) {
    sum += font ? font->GetGlyph(static_cast<unsigned char>(*p)).advance : kCharWidth;
  }
  if (width) *width = scale * sum;
  if (height) *height = kCharHeight * scale;
}

void N_TextBatch::Flush() {
  if (m_target) {
    m_target->ClearDepth();
    for (std::uint32_t i = 0; i < m_entryCount;) {
      // The first entry always binds; later ones only when the shader changes.
      const std::int32_t shader = m_entries[i].shader;
      if (i == 0 || shader != m_entries[i - 1].shader) m_target->BindShader(shader);
      std::uint32_t end = i + 1;
      if (m_target->DrawsInOnePass(shader)) {
        while (end < m_entryCount && m_entries[end].shader == shader) ++end;
      }
      if (end == i + 1) {
        m_target->DrawSurface(m_entries[i]);
      } else {
        // The entries hold their vertices in a row and every one indexes from its own
        // first vertex with the same pattern: together they are one longer entry.
        N_MeshSurface together = m_entries[i];
        for (std::uint32_t k = i + 1; k < end; ++k) {
          together.vertexCount += m_entries[k].vertexCount;
          together.indexCount = static_cast<std::uint16_t>(together.indexCount + m_entries[k].indexCount);
        }
        m_target->DrawSurface(together);
      }
      i = end;
    }
  }
  m_entryCount = m_indexCount = m_vertexCount = 0;
}
