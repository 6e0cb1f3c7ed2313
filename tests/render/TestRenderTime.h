#pragma once
// The renderer's timer at times a test sets: a timer over a clock the test moves,
// placed in the renderer module's services record (after CreateRender).
#include "render/RenderServices.h"
#include "tests/support/ManualTimer.h"

namespace test {

class TestRenderTime : public ManualTimer {
 public:
  TestRenderTime() { g_renderServicesCopy.timer = &Timer(); }
  ~TestRenderTime() {
    if (g_renderServicesCopy.timer == &Timer()) g_renderServicesCopy.timer = nullptr;
  }
};

}  // namespace test
