#include "platform/d3d9/gl/GlDirect3D.h"

namespace platform::d3d9 {

// The OpenGL device lands in the next step; until then no device can be made.
IDirect3D9* CreateGlDirect3D(Direct3DFailure& failure) {
  failure.found = "";
  failure.needed = kNeededGlText;
  return nullptr;
}

}  // namespace platform::d3d9
