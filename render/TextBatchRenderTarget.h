#pragma once
// The text batcher's target in the game: the renderer of the render module, drawing
// each entry with the world's shader of its handle.
#include "render/TextBatch.h"

class N_ShaderMng;

class N_TextBatchRenderTarget final : public N_TextBatchTarget {
 public:
  /// The shader manager must outlive the target.
  explicit N_TextBatchRenderTarget(N_ShaderMng& shaders) : m_shaders(shaders) {}

  void ClearDepth() override;
  /// N_Render::SetShader with the handle's record and lightmap -1.
  void BindShader(std::int32_t shader) override;
  /// N_Render::DrawSurface.
  void DrawSurface(N_MeshSurface& entry) override;
  /// A material of one stage that is no effect.
  bool DrawsInOnePass(std::int32_t shader) override;

 private:
  N_ShaderMng& m_shaders;
};
