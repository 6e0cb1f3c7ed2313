#include "tests/platform/GlDevice.h"

#include "platform/win32/TestWindow.h"

namespace test {

D3DPRESENT_PARAMETERS GlDevice::DepthStencil() {
  D3DPRESENT_PARAMETERS parameters{};
  parameters.EnableAutoDepthStencil = TRUE;
  parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
  return parameters;
}

::testing::AssertionResult GlDevice::Open(int width, int height, const D3DPRESENT_PARAMETERS& parameters) {
  window = platform::CreateTestWindow(width, height);
  if (window == 0) return ::testing::AssertionFailure() << "no test window";
  d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!d3d) return ::testing::AssertionFailure() << "no Direct3D object: " << platform::Direct3DCreateFailure().found;
  params = parameters;
  params.Windowed = TRUE;
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params.hDeviceWindow = window;
  const HRESULT result =
      d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device);
  if (result != D3D_OK) return ::testing::AssertionFailure() << "CreateDevice: " << DXGetErrorString9A(result);
  return ::testing::AssertionSuccess();
}

void GlDevice::Close() {
  if (device) device->Release();
  if (d3d) d3d->Release();
  if (window) platform::DestroyTestWindow(window);
  device = nullptr;
  d3d = nullptr;
  window = 0;
}

}  // namespace test
