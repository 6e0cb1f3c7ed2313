#pragma once
// The scene of the scene targets: the recording renderer behind g_render, a shader
// manager over it, a camera at the origin looking along +y with its frustum, an empty
// level (whose sun shines from above) and a frame clock, lent through g_scene and
// g_timer as the world lends its members. Made once per process; the targets give back
// whatever they took within each input.
#include "core/Timer.h"
#include "platform/win32/Clock.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/ShaderMng.h"
#include "scene/Level.h"

#include <cstdint>
#include <string_view>

namespace fuzz {

/// g_timer over a clock that moves only when told to: each Advance is one frame.
class FrameClock {
  class Clock final : public platform::Clock {
   public:
    std::uint64_t PerformanceFrequency() const override { return 1000000; }
    std::uint64_t PerformanceCounter() const override { return counter; }
    std::uint32_t Milliseconds() const override { return 0; }
    std::uint64_t counter = 1000;
  };
  Clock m_clock;  // before the timer, which reads it when made

 public:
  FrameClock() { timer.Tick(); }  // the first tick only sets the start
  void Advance(double seconds);

  N_Timer timer{m_clock};
};

struct Scene {
  N_ShaderMng shaders{64};
  N_Camera camera;
  N_Frustum frustum;
  N_Level level;
  FrameClock clock;
};

/// The scene, made on the first call.
Scene& SceneOnRecordingRenderer();
/// Writes a material script ("data\scripts\<name>.shader") for the shader manager's
/// next build.
void WriteMaterials(std::string_view name, std::string_view script);

}  // namespace fuzz
