#pragma once
// N_FigureMesh: a skier reference mesh of the figure factory (N_AnimationFactory2). It
// reads the animated mesh file as N_AnimObject does, except that a material named after
// a dress placeholder (FigureDress.h) gives its surface the placeholder's code instead
// of a shader; so it holds shader references only for handles above 0, and it always
// casts a shadow (extruded 1000 units), whatever its shaders say.
#include "scene/AnimObject.h"

class N_FigureMesh final : public N_AnimObject {
 public:
  static constexpr float kShadowLength = 1000.0f;

  N_FigureMesh() = default;
  /// Gives back what the mesh holds while it is still a figure mesh (the base's
  /// release would not know the placeholders).
  ~N_FigureMesh() override;

  /// The shadow volume from the shadow mesh, extruded by 1000 (a previous one given back
  /// first); none without a renderer.
  void CreateShadowVolume() override;

 protected:
  std::int32_t SurfaceShader(const std::string& material, std::uint32_t type) override;
  bool HoldsShaderReference(std::int32_t handle) const override { return handle > 0; }
};
