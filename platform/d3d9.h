#pragma once
// The Direct3D 9 services the engine calls, implemented over OpenGL (compatibility
// profile, through libepoxy) on an SDL window.
#include "platform/d3d9/Constants.h"
#include "platform/d3d9/Interfaces.h"
#include "platform/d3d9/Structs.h"

#include <cstdint>
#include <functional>
#include <string>

/// The Direct3D object, or null when the system cannot give what the layer needs
/// (then platform::Direct3DCreateFailure says why).
IDirect3D9* Direct3DCreate9(UINT sdkVersion);

/// The name of a result code ("D3DERR_DEVICELOST", "E_OUTOFMEMORY", ...); never null.
const char* DXGetErrorString9A(HRESULT result);

namespace platform {

/// Why the last Direct3DCreate9 returned null: the OpenGL version found (empty when no
/// context could be made at all) and the version the layer needs.
struct Direct3DFailure {
  std::string found;
  std::string needed;
};
const Direct3DFailure& Direct3DCreateFailure();

/// Replaces what Direct3DCreate9 makes (tests hand the engine a recording device this
/// way). An empty function restores the OpenGL implementation.
using Direct3DFactory = std::function<IDirect3D9*(UINT sdkVersion)>;
void SetDirect3DFactory(Direct3DFactory factory);

/// Textures as 32-bit handles, for engine records that keep a device texture in a
/// 32-bit word, test it for "> 0" or mask it for sort keys: a small positive id while
/// the texture lives (the lowest free one), 0 for null. Ids are reused after release.
std::int32_t TextureHandleOf(IDirect3DBaseTexture9* texture);
/// The texture of a handle, or null (0, negative or released handles). No reference added.
IDirect3DBaseTexture9* TextureFromHandle(std::int32_t handle);

/// The compiler's messages of the last CreateVertexShader (empty when it compiled cleanly).
const std::string& VertexProgramLog();

}  // namespace platform
