#pragma once
// The input manager over the scripted keyboard and mouse, behind g_inputMng, in a
// fresh working directory with the core services.
#include "core/CoreServices.h"
#include "core/InputMng.h"
#include "platform/dinput8/ScriptedInput.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <memory>

namespace test {

struct InputRig {
  TempDir dir;
  CoreServices core;
  platform::ScriptedInput input;
  std::unique_ptr<N_InputMng> mng;

  explicit InputRig(bool init = true) {
    N_CoreServices block;
    block.errorLog = core.errorLog.get();
    block.log = core.log.get();
    block.varMng = core.vars.get();
    mng = CreateInputMng(block);
    if (init) {
      EXPECT_EQ(mng->Init(), 1);
    }
    g_inputMng = mng.get();
  }
  ~InputRig() {
    g_inputMng = nullptr;
    mng->Shutdown();
  }

  void Frame() { mng->Update(); }
  int Held(int dik) { return mng->IsPressed(N_InputMng::kKeyboard, dik, 0); }
  int Pressed(int dik) { return mng->IsPressed(N_InputMng::kKeyboard, dik, 1); }
  int Mouse(int code, int edge = 0) { return mng->IsPressed(N_InputMng::kMouse, code, static_cast<std::uint8_t>(edge)); }
};

}  // namespace test
