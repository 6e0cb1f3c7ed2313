#pragma once
// The Direct3D 9 services the engine calls, implemented over OpenGL (compatibility
// profile, through libepoxy) on an SDL window.
//
// What callers can rely on beyond the documented Direct3D behaviour:
// - The device's window is the HWND of the presentation parameters (or the focus
//   window): a window of the layer's table made with OpenGL support.
// - Coordinates are Direct3D's throughout (y from the top, pixel centres on whole
//   coordinates, 0..1 clip depth, screen-winding culling, D3DCOLOR as B, G, R, A).
// - Textures keep a system-memory copy: locks of any level read and write it, and a
//   writing lock uploads the level when it ends. DXT1-5 need S3TC (CheckDeviceFormat
//   says whether it is there); compressed volume textures are refused.
// - Render-target textures are sampled the right way up (the layer flips v for them);
//   render targets and the back buffer can be read back with D3DLOCK_READONLY.
// - Vertex programs are GLSL vertex shaders (CreateVertexShader takes their text);
//   `uniform vec4 c[N]` receives the constant registers; the pixel stage is always the
//   fixed-function one (texture stages as GL combiners). Per-vertex point sizes reach a
//   vertex program as `inPointSize`; without a program, a point list whose declaration
//   has a PSIZE element takes each vertex's size, scaled by Direct3D's formula
//   (POINTSCALE_A/B/C, the viewport height, POINTSIZE_MIN/MAX); other points take
//   D3DRS_POINTSIZE. Programs write gl_FrontSecondaryColor (colour sum is on while
//   D3DRS_SPECULARENABLE is) and gl_FogFragCoord for vertex fog.
// - One render target at a time; the automatic depth-stencil buffer serves every target
//   of the back buffer's multisampling.
// - Values the layer does not support are reported once on the debugger output
//   (stderr) and ignored.
// - Tests: platform/d3d9/RecordingDevice.h records calls without GL; SetDirect3DFactory
//   hands it to engine code through Direct3DCreate9.
#include "platform/d3d9/Constants.h"
#include "platform/d3d9/Interfaces.h"
#include "platform/d3d9/Structs.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

/// GL state values the OpenGL devices have set so far, each because it differed from
/// what GL held (capabilities, functions, bindings, matrices, program uniforms): a
/// measure of the state traffic of a frame. The recording device adds nothing.
std::uint64_t DeviceStateChanges();

/// Every OpenGL call the OpenGL devices have made so far (state, bindings, uploads,
/// draws, queries alike): what a frame or a draw costs the driver. The recording device
/// adds nothing.
std::uint64_t DeviceGlCalls();
/// Test hook: while on, the names of the GL calls the devices make are kept (turning it
/// off forgets them); TakeDeviceGlCalls hands over those kept so far, oldest first.
void TraceDeviceGlCalls(bool on);
std::vector<std::string> TakeDeviceGlCalls();

/// What the OpenGL devices' drawing has cost so far, for the frame benchmark: the draw
/// calls made, and the calling thread's processor time inside the GL calls that do the
/// drawing work (draws, clears, blits, uploads, read-backs, flushes, the buffer swap),
/// in nanoseconds, counted while MeasureDeviceWork is on (it costs two clock reads a
/// call). The driver's own threads are not in it: they are the process's processor
/// time less the calling thread's.
struct DeviceWork {
  std::uint64_t draws = 0;
  std::uint64_t workNs = 0;
};
DeviceWork DeviceWorkSoFar();
void MeasureDeviceWork(bool on);
/// Profiler hook (null: off): every working GL call is finished at once and handed to
/// the hook with its GL name and the process's processor time it took, in nanoseconds.
void ProfileDeviceWork(void (*hook)(const char* glName, std::uint64_t ns));

}  // namespace platform
