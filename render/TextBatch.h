#pragma once
// N_TextBatch: the 2D text and quad batcher. Every GUI text, HUD number, the frame
// rate and most picture quads of a frame are queued here, one entry per call, in the
// 640 x 480 screen units of the renderer's 2D set-up (y down), and drawn together by
// Flush, which binds a shader only when it changes between consecutive entries and
// draws consecutive entries of a one-pass material with one call.
//
// Owned by the world; the GUI flushes before each page, the world's frame render
// after the GUI, modal loops themselves. Nothing survives a flush.
//
// One block made once: 4024 entries, 24576 indices (4096 quads) and 81920 vertices.
// An entry of k quads holds its vertices in a row from its own first vertex and draws
// with the first 6k indices, whose values count from there (quad q: 4q, 4q + 1,
// 4q + 2, 4q + 2, 4q + 1, 4q + 3 over its top-left, top-right, bottom-left and
// bottom-right vertices). A call that does not fit (entries, indices or vertices) is
// dropped with "Buffer overflow!!!" on the debugger output.
#include "render/MeshSurface.h"

#include <cstdint>
#include <memory>
#include <vector>

class N_Font;
struct N_Glyph;

/// Where Flush draws: the renderer with the world's shaders in the game.
class N_TextBatchTarget {
 public:
  virtual ~N_TextBatchTarget() = default;
  /// Clears the depth buffer, so that 2D drawing is never hidden by what came before.
  virtual void ClearDepth() = 0;
  /// Binds the material of a shader handle (lightmap -1).
  virtual void BindShader(std::int32_t shader) = 0;
  /// Draws an entry with the bound material.
  virtual void DrawSurface(N_MeshSurface& entry) = 0;
  /// Whether the material draws an entry in one draw call: consecutive entries of it
  /// may then be drawn together, their triangles in the same order.
  virtual bool DrawsInOnePass(std::int32_t) { return false; }
};

class N_TextBatch {
 public:
  static constexpr std::uint32_t kMaxEntries = 4024;
  static constexpr std::uint32_t kMaxIndices = 24576;
  static constexpr std::uint32_t kMaxVertices = 81920;
  static constexpr int kPaletteSize = 12;

  enum HorizontalAlign : std::int32_t { kLeft = 0, kCentre = 1, kRight = 2 };
  enum VerticalAlign : std::int32_t { kTop = 0, kMiddle = 1, kBottom = 2 };

  /// The target may be null (nothing is drawn then); it must outlive the batcher.
  explicit N_TextBatch(N_TextBatchTarget* target = nullptr);
  ~N_TextBatch();
  N_TextBatch(const N_TextBatch&) = delete;
  N_TextBatch& operator=(const N_TextBatch&) = delete;

  /// Clears the entries and makes them indexed. The entries are drawn with the
  /// renderer's own surface declaration, which describes the vertices they hold.
  void Init();

  /// Fixed-font text: character c is cell (c & 15, c >> 4) of a 16 x 16 grid in the
  /// shader's picture, 8 x 16 units at scale 1. Palette colour 0-11, alpha 0-255.
  void AddText(const char* text, std::int32_t shader, float x, float y, float scale, std::int32_t colour,
               std::int32_t alpha);
  /// Proportional text in a font; aligned 0 left, 1 centre, 2 right and 0 top,
  /// 1 middle, 2 bottom (other values as 0). A null font queues nothing.
  void AddFontText(const char* text, std::int32_t shader, const N_Font* font, float x, float y, std::int32_t hAlign,
                   std::int32_t vAlign, float scale, std::int32_t colour, std::int32_t alpha);
  /// As AddFontText, fading out within 4 glyph advances of two vertical lines.
  void AddFontTextFadeX(const char* text, std::int32_t shader, const N_Font* font, float x, float y, float left,
                        float right, std::int32_t hAlign, std::int32_t vAlign, float scale, std::int32_t colour,
                        std::int32_t alpha);
  /// As AddFontText, fading out within 82 x scale units of two horizontal lines.
  void AddFontTextFadeY(const char* text, std::int32_t shader, const N_Font* font, float x, float y, float top,
                        float bottom, std::int32_t hAlign, std::int32_t vAlign, float scale, std::int32_t colour,
                        std::int32_t alpha);
  /// One textured quad in white with the alpha; texture (0, 0) to (u max, v max).
  void AddQuad(std::int32_t shader, float x, float y, float width, float height, float uMax, float vMax,
               std::int32_t alpha);
  /// One textured quad in a colour given as alpha, red, green, blue bytes.
  void AddColorQuad(std::int32_t shader, float x, float y, float width, float height, float uMax, float vMax,
                    const std::uint8_t* colour);
  /// Width and height of a text at the scale: 16 x scale high; the font's advances, or
  /// 8 x scale per character without a font.
  void MeasureText(const char* text, const N_Font* font, float scale, float* width, float* height) const;
  /// Clears the depth buffer, draws every entry in order and empties the queue.
  void Flush();

  std::uint32_t EntryCount() const { return m_entryCount; }
  std::uint32_t IndexCount() const { return m_indexCount; }
  std::uint32_t VertexCount() const { return m_vertexCount; }
  const N_MeshSurface& Entry(std::uint32_t i) const { return m_entries[i]; }

 private:
  /// Per-vertex alpha of the fading texts.
  enum class Fade { None, X, Y };
  struct FadeLimits {
    Fade fade = Fade::None;
    float first = 0.0f;  ///< left or top limit
    float second = 0.0f;
  };
  struct Corners {
    float x0, y0, x1, y1;
    float u0, v0, u1, v1;
  };

  /// Starts an entry for a text (counted quads), or null when it does not fit.
  N_MeshSurface* BeginEntry(std::int32_t shader, std::uint32_t quads);
  void AppendQuad(N_MeshSurface& entry, const Corners& c, const std::uint32_t colours[4]);
  void QueueFontText(const char* text, std::int32_t shader, const N_Font& font, float x, float y,
                     std::int32_t hAlign, std::int32_t vAlign, float scale, std::int32_t colour, std::int32_t alpha,
                     const FadeLimits& fade);
  void QueueQuad(std::int32_t shader, float x, float y, float width, float height, float uMax, float vMax,
                 std::uint32_t colour);

  N_TextBatchTarget* m_target;
  std::uint32_t m_entryCount = 0;
  std::uint32_t m_indexCount = 0;
  std::uint32_t m_vertexCount = 0;
  std::vector<N_MeshSurface> m_entries;
  std::vector<std::uint16_t> m_indices;  ///< the pattern of every quad, written once
  std::vector<N_SurfaceVertex> m_vertices;
};
