#include "app/Application.h"

#include "core/AppWindow.h"
#include "core/BuiltinVars.h"
#include "core/ConfigReader.h"
#include "core/DisplayModes.h"
#include "core/ErrorLog.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/KeyDefinitions.h"
#include "core/Log.h"
#include "core/StringTable.h"
#include "core/SystemInfo.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "platform/win32/Files.h"
#include "race/World.h"
#include "render/Render.h"
#include "render/TextureMngImpl.h"
#include "sound/IntroVideo.h"
#include "sound/SoundMng.h"

#include <string>
#include <string_view>

namespace {

constexpr const char* kEngineName = "Navo Engine";
constexpr const char* kEngineVersion = "0.01";
constexpr const char* kPlatformName = "Linux";
constexpr std::uint32_t kSetFlags = 0x02;
constexpr const char* kConfigFile = "config.cfg";
constexpr std::int32_t kTextureMngCapacity = 1024;
constexpr std::uint16_t kSplashResourceId = 116;  ///< the program's picture resource

// The fixed-font overlay texts of the main loop, in 640 x 480 units. The frame rate
// stands in the bottom right corner, in white: clear of the race's clock at the top
// right and readable over the menus' dark frames.
constexpr float kFpsRight = 638.0f;
constexpr float kFpsY = 466.0f;
constexpr int kFpsColour = 0;
constexpr float kFixedCharWidth = 8.0f;  ///< the fixed font's cell at scale 1
constexpr float kDeveloperX = 350.0f;
constexpr float kOverlayScale = 0.8f;
constexpr int kOverlayColour = 6;
constexpr int kOverlayAlpha = 255;

struct SwitchedCategory {
  int category;
  const char* variable;
};
/// The sound categories the settings switch, in the order they are applied.
constexpr SwitchedCategory kSwitchedSoundCategories[] = {
    {4, "SoundCategoryComentaries"},
    {2, "SoundCategoryBody"},
    {3, "SoundCategorySki"},
    {5, "SoundCategoryEnvironment"},
};

/// Reads a settings file (`written`: the one the game writes); false when it is there
/// but cannot be read, which is said in the log and on stderr with the consequence.
bool ReadSettingsFile(const char* name, const char* consequence, bool written) {
  N_ConfigReader reader;
  if (written) {
    reader.LoadSaved(name);
  } else {
    reader.Load(name);
  }
  const std::string& why = reader.OpenFault();
  if (why.empty()) return true;
  g_errorLog->ReportDebug(9, "%s cannot be read (%s): %s\n", name, platform::ReasonOf(why).c_str(), consequence);
  return false;
}

}  // namespace

N_Application::N_Application() = default;

N_Application::~N_Application() {
  RunProgramEndCall();  // the front-end saves what it holds while the world still stands
  if (g_world) {
    // "HmlaHack1" keeps its reference: it is never released.
    g_world->ShaderMng().ReleaseShader(m_bigcharsShader);
    g_world->ShaderMng().ReleaseShader(m_consoleShader);
  }
  g_world = nullptr;
  m_world.reset();
  if (m_varMng) SaveSettings();  // an object that never started has nothing to save
  ReleaseServices();
}

bool N_Application::Init(HINSTANCE instance) {
  CreateCoreServices();
  m_log->Print("%s %s - %s - %s - %s ", kEngineName, kEngineVersion, kPlatformName, __DATE__, __TIME__);
  m_log->Print("\nRelease build\n");
  ReportKeyDefinitionsFault();  // the key table was read before the log existed
  g_varMng->SetInt("app_hInstance", instance, kSetFlags);
  SystemInfoToLog();
  ReadConfiguration();
  PlayIntroVideoOnce(instance);  // full screen only; clears "hrajvideoraz"
  CreateWindow();
  if (!CreateDeviceServices()) return false;
  g_stringTable->SetLanguage(g_varMng->GetString("language"));
  g_stringTable->ReadDir("scripts\\strings\\*.string");
  // A language no table holds gave way to one they hold: saved so, as the next start's.
  g_varMng->SetString("language", g_stringTable->Language().c_str(), 0);
  CreateWorld();
  return true;
}

void N_Application::CreateCoreServices() {
  m_ownedLog = std::make_unique<N_Log>("navo.log");
  m_log = m_ownedLog.get();
  g_log = m_log;
  m_errorLog = std::make_unique<N_ErrorLog>(m_log);
  g_errorLog = m_errorLog.get();
  m_varMng = std::make_unique<N_VarMng>();
  g_varMng = m_varMng.get();
  m_timer = std::make_unique<N_Timer>();
  g_timer = m_timer.get();
  m_stringTable = std::make_unique<N_StringTable>();
  g_stringTable = m_stringTable.get();
  RegisterBuiltinVars();
}

void N_Application::ReadConfiguration() {
  m_log->Print("\n--- Reading config file\n");
  // Saved at the exit, it would replace the player's settings with the defaults.
  m_keepConfig =
      !ReadSettingsFile(kConfigFile, "the default settings are used, and it is not saved in this run", true);
  ReadSettingsFile("user.cfg", "its settings are not used", false);  // later values override earlier ones
  // Every start begins with both at 0, whatever a file says: "exit" 1 would end each
  // start at once, and with "restart" 1 the game would start itself again for ever.
  g_varMng->SetInt("exit", 0, kSetFlags);
  g_varMng->SetInt("restart", 0, kSetFlags);
  // An absurd gamma (NaN, negative, 0.01) would turn the desktop black or white.
  const float gamma = g_varMng->GetFloat("r_gamma");
  const float sane = N_DisplayModes::SaneGamma(gamma);
  if (!(sane == gamma)) g_varMng->SetFloat("r_gamma", sane, kSetFlags);
}

void N_Application::CreateWindow() {
  m_ownedWindow = std::make_unique<N_AppWindow>();
  m_window = m_ownedWindow.get();
  m_window->Register();
  m_window->Create(g_varMng->GetInt("v_fullscreen"));
}

bool N_Application::CreateDeviceServices() {
  m_textureMng = std::make_unique<N_TextureMngImpl>(kTextureMngCapacity);
  g_textureMng = m_textureMng.get();
  m_services = N_CoreServices{};
  m_services.errorLog = m_errorLog.get();
  m_services.log = m_log;
  m_services.varMng = m_varMng.get();
  m_services.timer = m_timer.get();
  m_services.textureMng = g_textureMng;
  CreateRender(&m_services, &g_render);
  if (!g_render->Init()) return false;
  g_render->ShowSplashImage(kSplashResourceId);
  m_inputMng = CreateInputMng(m_services);
  g_inputMng = m_inputMng.get();
  g_inputMng->Init();  // a failure does not stop the start-up
  g_inputMng->Acquire();
  CreateSoundMng(&g_soundMng, &m_services);
  g_soundMng->SetMusicVolume(g_varMng->GetFloat("MusicVolume"));
  g_soundMng->SetFXVolume(g_varMng->GetFloat("FXVolume"));
  for (const auto& [category, name] : kSwitchedSoundCategories) {
    g_soundMng->SetCategoryEnabled(category, static_cast<std::uint32_t>(g_varMng->GetInt(name)));
  }
  return true;
}

void N_Application::CreateWorld() {
  m_log->Print("--- Creating World\n");
  m_world = std::make_unique<N_World>(g_textureMng);
  g_world = m_world.get();
  N_ShaderMng& shaders = g_world->ShaderMng();
  m_bigcharsShader = shaders.AddShader("gfx/2d/bigchars", 0, 3);
  m_consoleShader = shaders.AddShader("console", 0, 3);
  m_thirdShader = shaders.AddShader("HmlaHack1", 0, 3);
  g_varMng->SetInt("HmlaHack1", m_thirdShader, kSetFlags);
  g_varMng->SetInt("HmlaHackSet", 0, kSetFlags);
  g_varMng->SetInt("font", m_bigcharsShader, kSetFlags);
  g_world->Init();  // the result does not matter to the start-up
}

void N_Application::Run() {
  m_log->Print("--- Entering game loop...\n");
  for (;;) {
    DrainMessages();
    if (m_frameHook) m_frameHook();
    if (platform::TerminationRequested() && g_varMng->GetInt("exit") != 1) EndOnTerminationRequest();
    if (g_varMng->GetInt("exit") == 1) return;
    Frame();
  }
}

void N_Application::EndOnTerminationRequest() {
  // Ends as the menus end the game, so that the shutdown saves everything; a pending
  // restart is dropped: the desktop asked the game to end.
  m_log->Print("--- Termination signal: ending the game\n");
  g_varMng->SetInt("exit", 1, kSetFlags);
  g_varMng->SetInt("restart", 0, kSetFlags);
}

void N_Application::DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);  // a quit message has no window and no meaning
  }
}

void N_Application::Frame() {
  g_timer->Tick();
  if (g_inputMng) g_inputMng->Update();
  const float frameTime = static_cast<float>(g_timer->GetFrameTime());
  m_frameRate.Add(frameTime);
  QueueOverlayTexts(frameTime);
  g_world->Update(frameTime);
  g_world->Render(frameTime);
  if (g_soundMng) g_soundMng->Update();
}

void N_Application::QueueOverlayTexts(float frameTime) {
  N_TextBatch& batch = g_world->TextBatch();
  const int font = g_varMng->GetInt("font");
  const int showFps = g_varMng->GetInt("r_showFPS");
  if (showFps == 1) {
    const std::string_view text = m_frameRate.Text();
    const auto cells = static_cast<float>(text.find('\n') == std::string_view::npos ? text.size() : text.find('\n'));
    const float x = kFpsRight - cells * kFixedCharWidth * kOverlayScale;
    batch.AddText(m_frameRate.Text(), font, x, kFpsY, kOverlayScale, kFpsColour, kOverlayAlpha);
  } else if (showFps == 2) {
    m_frameRate.SetInstant(frameTime);
    m_log->Print("%s", m_frameRate.Text());
  }
  if (g_varMng->GetInt("developer") != 0) {
    const std::string distance = FormatString("%d\n", g_varMng->GetInt("LODWorldDistance"));
    batch.AddText(distance.c_str(), font, kDeveloperX, 0.0f, kOverlayScale, kOverlayColour, kOverlayAlpha);
  }
}

bool N_Application::SaveSettings() {
  g_varMng->Dump();
  if (g_soundMng) {
    g_varMng->SetFloat("FXVolume", g_soundMng->GetFXVolume(), kSetFlags);
    g_varMng->SetFloat("MusicVolume", g_soundMng->GetMusicVolume(), kSetFlags);
  }
  if (g_render) g_render->Shutdown();
  if (g_inputMng) g_inputMng->Shutdown();
  if (m_window) m_window->Unregister();
  if (m_keepConfig) {
    m_log->Print("Settings not saved: %s could not be read at the start\n", kConfigFile);
  } else {
    g_varMng->Save(kConfigFile);
  }
  return true;
}

void N_Application::ReleaseServices() {
  // Every pointer is cleared before its object goes, so nothing reaches a dying service.
  g_varMng = nullptr;
  m_varMng.reset();
  g_timer = nullptr;
  m_timer.reset();
  // The texture manager releases whatever is left (the world freed its textures).
  g_textureMng = nullptr;
  m_textureMng.reset();
  g_stringTable = nullptr;
  m_stringTable.reset();
  if (g_render) ReleaseRender(g_render);
  g_render = nullptr;
  g_inputMng = nullptr;
  m_inputMng.reset();
  ReleaseSoundMng(&g_soundMng);  // closes its device; there is no shutdown call of its own
  m_window = nullptr;
  m_ownedWindow.reset();
  // The reporter and the log go last: every service before them may still log.
  g_errorLog = nullptr;
  m_errorLog.reset();
  g_log = nullptr;
  m_log = nullptr;
  m_ownedLog.reset();
}
