#pragma once
// What the animation tests share: small meshes and animations written with the game's
// writer (tools/AnimWriter.h), and a scene on the recording renderer with everything
// the animated objects borrow (shader manager, frustum, level) lent through g_scene.
#include "render/Frustum.h"
#include "render/ShaderMng.h"
#include "scene/Level.h"
#include "scene/SceneAccess.h"
#include "tests/render/MaterialRig.h"
#include "tools/AnimWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace test {

/// Writes bytes to a file below the current directory (folders made).
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

/// Patches a little-endian 32-bit word (or a float) at a byte offset.
void PatchU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);
void PatchF32(std::vector<std::uint8_t>& bytes, std::size_t offset, float value);
std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset);

/// Offset and size words of a section in a written file.
std::uint32_t SectionOffset(const std::vector<std::uint8_t>& bytes, int section);
std::uint32_t SectionSize(const std::vector<std::uint8_t>& bytes, int section);

/// Two bones and one quad: "root" at the origin and its child "tip" at (10, 0, 0).
/// Skin points: 0 (0, 0, 0) and 1 (0, 0, 10) on the root, 2 (20, 0, 0) on the tip,
/// 3 (20, 0, 10) half on each. Surface 0 is the quad over points 0-3 with material
/// "anim/quad"; surface 1 a triangle over points 2, 3 and 0 again (vertices of its own
/// sharing those skin points).
datagen::AnimMeshBuilder TwoBoneQuad(const std::string& material = "anim/quad");
/// The bind pose of a mesh repeated for `frames` frames.
std::vector<std::vector<N_AnimKey>> BindFrames(const datagen::AnimMeshBuilder& mesh, int frames);
/// An animation file of the mesh's bones from per-frame keys.
std::vector<std::uint8_t> AnimationOf(const datagen::AnimMeshBuilder& mesh,
                                      const std::vector<std::vector<N_AnimKey>>& frames);

/// The recording renderer with a scene: g_render, g_scene (a shader manager over the
/// renderer, without textures; the frustum of the rig's camera; an empty level) for the
/// test's lifetime. The camera stands at the origin looking along +y.
class AnimRig : public MaterialRig {
 public:
  explicit AnimRig(platform::d3d9::RecordingDirect3DConfig config = RecordingRender::DefaultConfig(),
                   RenderMaker make = {});
  ~AnimRig();

  /// Builds the shader records of every name added so far (scripts in data/scripts).
  void LoadShaders() { shaders.LoadShaders(); }

  N_ShaderMng shaders{64};
  N_Frustum frustum;
  N_Level level;
};

}  // namespace test
