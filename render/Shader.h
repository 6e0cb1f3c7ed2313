#pragma once
// A material: surface-wide settings (culling, sort class, lighting colours, flags, an
// optional effect, vertex deformations) and up to eight stages in script order.
// Created by the shader manager with the defaults below, filled by the script parser
// (or the manager's default maker), read by the renderer when it binds the material.
#include "render/ShaderStage.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

class ID3DXEffect;

/// Shader flag bits.
namespace ShaderFlag {
inline constexpr std::uint32_t kNoMipmaps = 0x1;        ///< "nomipmaps"
inline constexpr std::uint32_t kNoPicmip = 0x2;         ///< "nopicmip"
inline constexpr std::uint32_t kPolygonOffset = 0x4;    ///< "polygonoffset"
inline constexpr std::uint32_t kPortal = 0x8;           ///< "portal"
inline constexpr std::uint32_t kLightmap = 0x10;        ///< a lightmap stage is present
inline constexpr std::uint32_t kVertexColour = 0x20;    ///< a vertex-colour generator is in use
inline constexpr std::uint32_t kTcMod = 0x40;           ///< a texture-coordinate modifier is in use
inline constexpr std::uint32_t kNormals = 0x80;         ///< a normal-based generator is in use
inline constexpr std::uint32_t kMultiplied = 0x100;     ///< holds a stage pair that multiplies
inline constexpr std::uint32_t kEntity = 0x200;         ///< alphagen entity
inline constexpr std::uint32_t kNoCompress = 0x400;     ///< "nocompress"
inline constexpr std::uint32_t kEffect = 0x800;         ///< "fx": drawn through an effect
}  // namespace ShaderFlag

/// Values of the surface parameter word set by "surfaceparm". Shadow casting is tested
/// as the value kCastShadow, not as a bit.
namespace SurfaceParm {
inline constexpr std::uint32_t kNoClip = 1;
inline constexpr std::uint32_t kTerrain = 2;
inline constexpr std::uint32_t kSky = 5;
inline constexpr std::uint32_t kCastShadow = 8;
/// The renderer draws a shader whose word has this bit (sky has it) around the camera.
inline constexpr std::uint32_t kSkyBit = 0x4;
}  // namespace SurfaceParm

/// Drawing order classes; "sort" may also give any other number.
namespace ShaderSort {
inline constexpr std::uint32_t kPortal = 1;
inline constexpr std::uint32_t kSky = 2;
inline constexpr std::uint32_t kOpaque = 3;
inline constexpr std::uint32_t kBanner = 6;
inline constexpr std::uint32_t kBlended = 7;   ///< a blendfunc in the first stage
inline constexpr std::uint32_t kUnderwater = 8;
inline constexpr std::uint32_t kAdditive = 9;
inline constexpr std::uint32_t kNearest = 16;
}  // namespace ShaderSort

/// Face culling: -1 back faces, 1 front faces, 0 none.
enum class Cull : std::int32_t { Back = -1, None = 0, Front = 1 };

enum class DeformType : std::uint32_t {
  None = 0,
  Wave = 1,
  Normal = 2,
  Bulge = 3,
  Move = 4,
  Rotate = 5,
  Autosprite = 6,
  Autosprite2 = 7,
  MoveWithCamera = 8,
  Water = 9,
};

/// One "deformvertexes" line; the meaning of the values by type is the renderer's.
struct N_ShaderDeform {
  DeformType type = DeformType::None;
  std::array<float, 8> values{};

  /// Stores the type and the given values; the others become 0.
  void Set(DeformType newType, std::span<const float> given);
};

class N_Shader {
 public:
  static constexpr int kMaxStages = 8;
  static constexpr int kMaxDeforms = 7;  ///< of the eight entries; the last is never handed out

  std::uint32_t surfaceParm = 0;  ///< the creator's flags word until "surfaceparm" replaces it
  Cull cull = Cull::Back;
  std::uint32_t sort = ShaderSort::kOpaque;
  std::array<float, 3> ambient{1.0f, 1.0f, 1.0f};
  std::array<float, 3> diffuse{1.0f, 1.0f, 1.0f};
  std::array<float, 3> specular{};
  std::array<float, 3> emissive{};
  float specularPower = 0.0f;
  std::uint32_t flags = 0;
  int stageCount = 0;
  std::array<std::unique_ptr<N_ShaderStage>, kMaxStages> stages;  ///< the first stageCount are set
  int deformCount = 0;
  std::array<N_ShaderDeform, 8> deforms;
  /// The renderer's effect; meaningful only while ShaderFlag::kEffect is set, and then
  /// it may be null (an effect that could not be made draws nothing).
  ID3DXEffect* effect = nullptr;
  float shadowDistance = 0.0f;  ///< set by "surfaceparm castshadow"

  /// Appends a stage with the defaults and returns it; null when eight are in use.
  N_ShaderStage* AddStage();
  /// The next deform entry, counted; null when seven are in use.
  N_ShaderDeform* AddDeform();
  /// Stage i, or null outside 0..stageCount-1.
  N_ShaderStage* Stage(int i) const { return (i >= 0 && i < stageCount) ? stages[i].get() : nullptr; }
};
