// D3DXCreateEffectFromFileA: read, parse, compile.
#include "platform/d3dx9/Effect.h"
#include "platform/d3dx9/EffectObject.h"
#include "platform/win32/Files.h"

#include <memory>

HRESULT D3DXCreateEffectFromFileA(IDirect3DDevice9* device, LPCSTR file, const D3DXMACRO* defines,
                                  ID3DXInclude* include, DWORD flags, ID3DXEffectPool* pool, ID3DXEffect** effect,
                                  ID3DXBuffer** errors) {
  using namespace platform::d3dx9;
  if (errors) *errors = nullptr;
  if (!effect) return D3DERR_INVALIDCALL;
  *effect = nullptr;
  if (!device || !file) return D3DERR_INVALIDCALL;
  EffectMessages messages(file);
  std::string text;
  if (defines || include || pool || flags != 0) {
    messages.AddLine(std::string(file) + ": error: macros, include handlers, effect pools and flags are not supported",
                     true);
  } else if (!platform::ReadWholeFile(file, text)) {
    messages.AddLine(std::string(file) + ": error: the file cannot be read", true);
  }
  Effect* made = nullptr;
  if (!messages.HasErrors()) {
    auto source = std::make_unique<EffectSource>(ParseEffect(text, messages));
    if (!messages.HasErrors()) made = Effect::Create(device, std::move(source), messages);
  }
  if (errors) *errors = TextBuffer(messages.Text());
  *effect = made;
  return made ? D3D_OK : E_FAIL;
}
