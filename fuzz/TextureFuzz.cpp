// The D3DX-shaped texture loaders, through N_Render::CreateTexture as the texture
// manager calls it: image information, then a two-dimensional, cube or volume texture
// (the kind the file says it holds) planned from the quality settings. The input is
// the DDS file; its last byte also picks the settings (picmip, 16- or 32-bit, device
// compression and the "one level" / "no picmip" bits), so every conversion is reached.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "platform/d3dx9.h"
#include "render/TexInfo.h"

namespace {

constexpr const char* kPath = "data\\textures\\fuzz.dds";

std::uint32_t KindOf(const D3DXIMAGE_INFO& info) {
  if (info.ResourceType == D3DRTYPE_CUBETEXTURE) return 1;
  if (info.ResourceType == D3DRTYPE_VOLUMETEXTURE) return 2;
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  N_Render& render = fuzz::RecordingRenderer();
  fuzz::WriteFile(kPath, data, size);
  const std::uint8_t settings = size ? data[size - 1] : 0;
  g_varMng->SetInt("r_picmip", settings & 3, 0);
  g_varMng->SetInt("r_textureBits", (settings & 4) ? 16 : 32, 0);
  g_varMng->SetInt("r_textureCompression", (settings >> 3) & 1, 0);
  const std::uint32_t parameter = (settings >> 4) & 3;

  D3DXIMAGE_INFO info{};
  TexInfo record;
  record.kind = SUCCEEDED(D3DXGetImageInfoFromFileA(kPath, &info)) ? KindOf(info) : 0;
  fuzz::Guarded([&] {
    if (render.CreateTexture(kPath, &record, parameter) != 0) render.ReleaseTexture(&record);
  });
  fuzz::ForgetCalls();
  return 0;
}
