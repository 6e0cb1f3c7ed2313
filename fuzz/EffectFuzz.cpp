// The effect files, through N_Render::CreateEffect as the shader scripts' "fx" keyword
// reaches them, then every pass of the chosen technique applied as a surface draw does,
// and the effect given back.
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "platform/d3dx9.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  N_Render& render = fuzz::RecordingRenderer();
  constexpr const char* kPath = "data\\effects\\fuzz.fx";
  fuzz::WriteFile(kPath, data, size);
  fuzz::Guarded([&] {
    ID3DXEffect* effect = render.CreateEffect(kPath);
    if (!effect) return;
    UINT passes = 0;
    if (SUCCEEDED(effect->Begin(&passes, 0))) {
      for (UINT pass = 0; pass < passes; ++pass) {
        effect->BeginPass(pass);
        effect->CommitChanges();
        effect->EndPass();
      }
      effect->End();
    }
    render.DestroyEffect(&effect);
  });
  fuzz::ForgetCalls();
  return 0;
}
