#pragma once
// The game's renderer over the recording Direct3D device (resources in system memory,
// no window and no GL), made and initialised once per process for the targets that
// read through it: textures, effects, vertex programs and the scene.
#include "platform/d3d9/RecordingDevice.h"
#include "render/Render.h"

namespace fuzz {

/// The initialised renderer; the device's record of calls is emptied after each input
/// by ForgetCalls, so a long run does not grow it.
N_Render& RecordingRenderer();
void ForgetCalls();
/// The recording device behind the renderer (made by RecordingRenderer).
platform::d3d9::RecordingDevice& RecordingDeviceOf();

}  // namespace fuzz
