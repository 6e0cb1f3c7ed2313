#pragma once
// The GUI on the OpenGL device under the virtual X server, at 640 x 480: a window, the
// renderer over the rig's core services, a 2D camera, a page "Widgets", the fonts of
// the game root, and solid test pictures gui/red and gui/green; frames drawn as the
// world draws the GUI and read back from the back buffer.
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "gui/GuiPage.h"
#include "platform/win32/TestWindow.h"
#include "render/Camera.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/TextureMngImpl.h"
#include "tests/gui/GuiRig.h"
#include "tests/support/BackBuffer.h"
#include "tools/DdsWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>

namespace test {


inline void WriteSolidDds(const std::string& path, datagen::Rgba colour) {
  const auto bytes = datagen::EncodeDds(datagen::RgbaImage(8, 8, colour), {});
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline bool IsRed(const platform::Rgba8& p) { return p.r > 200 && p.g < 60 && p.b < 60; }
inline bool IsGreen(const platform::Rgba8& p) { return p.g > 200 && p.r < 60 && p.b < 60; }
/// Text in palette colour 0 (white), also its soft glyph edges, on the black screen.
inline bool IsText(const platform::Rgba8& p) { return p.r > 40 && p.g > 40 && p.b > 40; }

/// The first pixel whose centre lies at or beyond the screen unit: the 2D set-up
/// projects 639 units onto 640 pixels (479 onto 480).
inline UINT Pixel(float units, int pixels) {
  return static_cast<UINT>(std::max(0.0, std::ceil(units * pixels / (pixels - 1) - 0.5)));
}

/// The OpenGL device of a GUI pixel test: a 640 x 480 test window, the renderer over
/// the rig's core services (set as the global renderer) and a 2D camera. Close lets
/// go of every shader and texture while the renderer still exists, as the world's
/// shutdown does, then of the renderer and the window.
struct GuiGlDevice {
  void Open(test::GuiRig& rig) {
    window = platform::CreateTestWindow(640, 480);
    ASSERT_NE(window, 0);
    rig.core.vars->SetInt("v_fullscreen", 0, 0);
    rig.core.vars->SetInt("v_width", 640, 0);
    rig.core.vars->SetInt("v_height", 480, 0);
    rig.core.vars->SetInt("wnd_handle", window, 0);
    services.errorLog = rig.core.errorLog.get();
    services.log = rig.core.log.get();
    services.varMng = rig.core.vars.get();
    services.textureMng = &textures;
    CreateRender(&services, &render);
    ASSERT_TRUE(render->Init());
    g_render = render;
    camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
  }
  void Close(test::GuiRig& rig) {
    g_render = nullptr;
    rig.shaders.ResetRefCounts();
    rig.shaders.LoadShaders();
    textures.ResetRefCounts();
    textures.PurgeTextures();
    g_renderStateCache.currentShader = nullptr;
    if (render && render->Device()) render->Shutdown();
    if (render) ReleaseRender(render);
    render = nullptr;
    if (window) platform::DestroyTestWindow(window);
    window = 0;
  }

  N_CoreServices services;
  N_TextureMngImpl textures{1024};
  HWND window = 0;
  N_Render* render = nullptr;
  N_Camera camera;
};

class GuiPixelFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path root = std::filesystem::path(test::GameRoot()) / "data";
    std::filesystem::create_directories("data/scripts");
    std::filesystem::create_directories("data/gfx");
    std::filesystem::copy(root / "gfx" / "fonts", "data/gfx/fonts", std::filesystem::copy_options::recursive);
    // The font's material without the vertex alpha: a sliding text that fades towards
    // its clip still shows every glyph it draws.
    rig.dir.Write("data/scripts/fonts.shader",
                  "normal\n{\n\tnopicmip\n\tcull none\n\t{\n\t\tmap gfx/fonts/normal\n\t\tblendfunc blend\n"
                  "\t\trgbgen vertex\n\t\talphagen identity\n\t}\n}\n");
    WriteSolidDds("data/gui/red.dds", {255, 0, 0, 255});
    WriteSolidDds("data/gui/green.dds", {0, 255, 0, 255});
    gl.Open(rig);
    if (HasFatalFailure()) return;
    page = rig.mng->CreatePage("Widgets");
  }
  void TearDown() override { gl.Close(rig); }
  /// After the page is built, as the game loads its shaders.
  void Show() {
    page->ShowImmediate();
    rig.shaders.LoadShaders();
    textures.PurgeTextures();
    rig.batch.Init();
  }
  /// One frame of the given length, drawn as the world draws the GUI.
  test::BackBufferImage Frame(double seconds = 0.02) {
    rig.Step(seconds);
    render->BeginFrame();
    render->SetupCamera(&camera, 0);
    rig.mng->Render();
    rig.batch.Flush();
    const test::BackBufferImage image = test::ReadBackBuffer(render->Device());
    render->EndFrame();
    return image;
  }
  template <class T>
  T* Add(const std::string& type, const std::string& name,
         std::initializer_list<std::pair<const char*, const char*>> attributes) {
    auto* element = rig.Create<T>(type, name);
    test::Set(*element, attributes);
    page->AddElement(element);
    return element;
  }

  test::GuiRig rig{true};
  GuiGlDevice gl;
  N_TextureMngImpl& textures = gl.textures;
  N_Render*& render = gl.render;
  N_Camera& camera = gl.camera;
  N_GuiPage* page = nullptr;
};

}  // namespace test
