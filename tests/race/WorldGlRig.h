#pragma once
// The game's start on the OpenGL device (Xvfb with Mesa) for the race's GL tests: the
// sample game data copied into a temporary root, a test window, the renderer, the
// scripted keyboard behind the input manager, a noting sound manager and the world.
#include "core/CoreServices.h"
#include "core/InputMng.h"
#include "core/StringTable.h"
#include "core/VarMng.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32/TestWindow.h"
#include "race/World.h"
#include "render/Render.h"
#include "render/RendererTextureDevice.h"
#include "render/TextureMngImpl.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace test {

/// The application's start on the GL device with the sample game data, the scripted
/// keyboard and a noting sound manager; frames as the main loop runs them.
class WorldGlRig {
 public:
  static constexpr int kWidth = 640, kHeight = 480;

  WorldGlRig() {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(test::GameRoot()) / "data";
    fs::create_directories("data");
    for (const auto& entry : fs::directory_iterator(data)) {
      if (entry.path().filename() != "video") fs::copy(entry.path(), fs::path("data") / entry.path().filename(), fs::copy_options::recursive);
    }
    strings.SetLanguage("eng");
    strings.ReadDir("scripts\\strings\\*.string");
    g_stringTable = &strings;
    window = platform::CreateTestWindow(kWidth, kHeight);
    core.vars->SetInt("v_fullscreen", 0, 0);
    core.vars->SetInt("v_width", kWidth, 0);
    core.vars->SetInt("v_height", kHeight, 0);
    core.vars->SetInt("wnd_handle", window, 0);
    core.vars->SetInt("r_filter", 0, 0);
    services.errorLog = core.errorLog.get();
    services.log = core.log.get();
    services.varMng = core.vars.get();
    services.textureMng = &textures;
    CreateRender(&services, &render);
    EXPECT_TRUE(render->Init());
    g_render = render;
    g_textureMng = &textures;
    input = CreateInputMng(services);
    input->Init();
    g_inputMng = input.get();
    world = std::make_unique<N_World>(&textures);
    g_world = world.get();
    for (const char* shader : {"gfx/2d/bigchars", "console", "HmlaHack1"}) world->ShaderMng().AddShader(shader, 0, 3);
    world->Init();
  }
  ~WorldGlRig() {
    g_world = nullptr;
    world.reset();
    g_inputMng = nullptr;
    input->Shutdown();
    g_textureMng = nullptr;
    g_render = nullptr;
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
    g_stringTable = nullptr;
  }
  WorldGlRig(const WorldGlRig&) = delete;
  WorldGlRig& operator=(const WorldGlRig&) = delete;

  /// No pages in front of the scene.
  void SceneOnly() {
    for (const auto& [name, page] : world->GuiMng().Pages()) page->Hide();
  }
  /// One frame of the main loop.
  void Frame(float seconds = 0.05f) {
    input->Update();
    world->Update(seconds);
    world->Render(seconds);
  }
  std::vector<DWORD> Pixels() { return test::ReadBackBuffer(render->Device()).RgbPixels(); }
  static DWORD At(const std::vector<DWORD>& pixels, int x, int y) { return pixels[std::size_t(y * kWidth + x)]; }
  test::TempDir dir;
  test::CoreServices core;
  N_CoreServices services;
  RendererTextureDevice textureDevice;
  N_TextureMngImpl textures{1024, &textureDevice};
  N_StringTable strings;
  test::NotingSoundMng sound;
  HWND window = 0;
  N_Render* render = nullptr;
  platform::ScriptedInput keys;
  std::unique_ptr<N_InputMng> input;
  std::unique_ptr<N_World> world;
  std::vector<std::string> events;
};

}  // namespace test
