// Direct3DCreate9: the OpenGL implementation, or whatever a test put in its place.
#include "platform/d3d9.h"
#include "platform/d3d9/gl/GlDirect3D.h"

namespace platform {
namespace {

Direct3DFactory& Factory() {
  static Direct3DFactory factory;
  return factory;
}

Direct3DFailure& Failure() {
  static Direct3DFailure failure;
  return failure;
}

}  // namespace

const Direct3DFailure& Direct3DCreateFailure() { return Failure(); }

void SetDirect3DFactory(Direct3DFactory factory) { Factory() = std::move(factory); }

}  // namespace platform

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
  platform::Failure() = {};
  if (platform::Factory()) return platform::Factory()(sdkVersion);
  if (sdkVersion != D3D_SDK_VERSION) return nullptr;
  return platform::d3d9::CreateGlDirect3D(platform::Failure());
}
