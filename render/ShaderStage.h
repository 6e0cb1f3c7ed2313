#pragma once
// One textured pass of a material: its textures (one per animation frame), blending,
// alpha and depth tests, colour and alpha generators and texture-coordinate
// generation and modifiers. Made by N_Shader::AddStage and owned by its shader; the
// script parser fills it, the renderer reads it field by field when it binds the
// material. Symbolic values are the Direct3D 9 numbers that NameToConstant gives.
#include "render/ShaderNames.h"

#include <array>
#include <cstdint>
#include <vector>

struct TexInfo;

/// Stage flag bits; the whole word is also the parameter the stage's textures are
/// added with, of which the texture manager reads 0x1 and 0x2.
namespace StageFlag {
inline constexpr std::uint32_t kSingleMip = 0x1;    ///< copied from shader flag 0x1
inline constexpr std::uint32_t kNoPicmip = 0x2;     ///< shader flag 0x2; "lightmap"
inline constexpr std::uint32_t kClamp = 0x4;        ///< "clampmap", "animmap"
inline constexpr std::uint32_t kDetail = 0x8;       ///< "detail"
inline constexpr std::uint32_t kLightmap = 0x10;    ///< "map $lightmap": the surface's lightmap
inline constexpr std::uint32_t kTcMod = 0x20;       ///< has texture-coordinate modifiers
inline constexpr std::uint32_t kNormals = 0x40;     ///< a normal-based generator is in use
inline constexpr std::uint32_t kMultiplied = 0x80;  ///< the next stage multiplies onto this one
inline constexpr std::uint32_t kNoCompress = 0x200; ///< copied from shader flag 0x400
inline constexpr std::uint32_t kIfl = 0x400;        ///< frames follow the frame-time list
}  // namespace StageFlag

/// Wave functions; a wave stores its function as a float holding this code.
enum class WaveFunc : std::uint32_t { Const = 0, Sin = 1, Triangle = 2, Square = 3, Sawtooth = 4, InverseSawtooth = 5 };

enum class RgbGen : std::uint32_t {
  IdentityLighting = 0,
  Identity = 1,
  Wave = 2,
  Vertex = 5,
  OneMinusVertex = 6,
  LightingDiffuse = 7,
};

enum class AlphaGen : std::uint32_t {
  None = 0,
  Portal = 1,
  IdentityLighting = 2,
  Identity = 3,
  Wave = 4,
  Entity = 5,
  Vertex = 7,
  OneMinusVertex = 8,
  LightingDiffuse = 9,
  Dot = 10,
};

enum class TcGen : std::uint32_t { Base = 0, Environment = 1, Lightmap = 2, Vector = 3 };

enum class TcModType : std::uint32_t { Rotate = 0, Scale = 1, Scroll = 2, Stretch = 3, Transform = 4, Turb = 5 };

/// The five values of a generator: for a wave the function code, base, amplitude,
/// phase and frequency; for alphagen dot the two numbers; else zero.
using GenValues = std::array<float, 5>;

/// One "tcmod" line. Values by type: rotate 1; scale, scroll 2 (s, t); stretch 5 (a
/// wave); transform 6; turb 4 (base, amplitude, phase, frequency).
struct N_ShaderTcMod {
  TcModType type = TcModType::Rotate;
  std::int32_t count = 0;          ///< values in use
  std::array<float, 8> values{};
};

class N_ShaderStage {
 public:
  std::uint32_t flags = 0;
  /// Frames per second of an animated stage; for an IFL animation the total of its
  /// frame times in seconds.
  float frequency = 0.0f;
  /// One per frame, not owned (the texture manager's records); a "$lightmap" stage
  /// holds one null entry.
  std::vector<TexInfo*> textures;
  /// IFL animations only: seconds per frame; may be shorter than the texture list.
  std::vector<float> frameTimes;
  /// Applied in script order.
  std::vector<N_ShaderTcMod> tcMods;
  AlphaGen alphaGen = AlphaGen::None;
  GenValues alphaGenValues{};
  TcGen tcGen = TcGen::Base;
  RgbGen rgbGen = RgbGen::Identity;
  GenValues rgbGenValues{};
  std::uint32_t alphaFunc = GlValue::kAlways;
  std::uint8_t alphaRef = 255;
  std::uint32_t blendSrc = GlValue::kOne;
  std::uint32_t blendDst = GlValue::kZero;
  std::uint32_t colorOp = 4;  ///< texture-stage colour operation; 4 modulate
  std::uint32_t depthFunc = GlValue::kLequal;
  bool depthWrite = true;
  float mipmapBias = 0.0f;

  int TextureCount() const { return static_cast<int>(textures.size()); }

  /// Appends a texture (null allowed); a non-null one also sets the frequency.
  void AddTexture(TexInfo* texture, float newFrequency);
  /// Stores the function; the reference becomes value x 255 truncated (0.5 gives 127),
  /// the value limited to 0..1.
  void SetAlphaFunc(std::uint32_t function, float value);
  void SetRgbGen(RgbGen code, const GenValues& values = {}) {
    rgbGen = code;
    rgbGenValues = values;
  }
  void SetAlphaGen(AlphaGen code, const GenValues& values = {}) {
    alphaGen = code;
    alphaGenValues = values;
  }
  /// Appends a modifier with the first `count` values (at most 8).
  void AppendTcMod(TcModType type, const float* values, int count);

  /// The frame to show at a time in seconds, always a valid index of the texture
  /// list (0 when it is empty). IFL stages follow their frame times; others run at
  /// `frequency` frames per second.
  int GetFrame(float time) const;

 private:
  int GetIflFrame(float time) const;
};
