#pragma once
// Inside the layer: the Direct3D object over OpenGL.
#include "platform/d3d9.h"

namespace platform::d3d9 {

/// The OpenGL version (compatibility profile) and extension the layer needs.
inline constexpr int kNeededGlMajor = 3;
inline constexpr int kNeededGlMinor = 3;
inline constexpr const char* kNeededGlText = "3.3 (compatibility profile) with ARB_clip_control";

/// Probes OpenGL; null (with failure filled) when it cannot give what the layer needs.
IDirect3D9* CreateGlDirect3D(Direct3DFailure& failure);

}  // namespace platform::d3d9
