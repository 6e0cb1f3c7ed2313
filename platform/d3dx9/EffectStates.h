#pragma once
// Inside the layer: the render states a pass of an effect file may set, by their
// Direct3D names without the "D3DRS_" prefix, and the names of their values.
#include "platform/d3d9.h"

#include <optional>
#include <string_view>

namespace platform::d3dx9 {

/// What the value of a state means, which decides the value names it accepts.
enum class EffectStateValue { Bool, Number, Compare, Blend, BlendOp, Cull, Fill, Shade, StencilOp, ZBuffer };

struct EffectStateName {
  std::string_view name;
  D3DRENDERSTATETYPE state;
  EffectStateValue value;
};

/// The state of a name (compared without regard to case), or null.
const EffectStateName* FindEffectState(std::string_view name);
/// The number of a value name for the kind ("SrcAlpha" for Blend is 5), compared
/// without regard to case; empty for a name the kind does not have.
std::optional<DWORD> FindEffectStateValue(EffectStateValue kind, std::string_view name);

}  // namespace platform::d3dx9
