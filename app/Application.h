#pragma once
// The application: creates every global engine service in a fixed order, runs the
// main loop until the variable "exit" is 1, and tears the services down again,
// writing "config.cfg" on the way out.
//
// One object, made by the entry point. Init builds the services (false: the program
// cannot run; nothing is released then and nothing saved); after the configuration
// files it sets "exit" and "restart" to 0 and holds "r_gamma" in a sane range. Run,
// per pass:
//   1. hand every waiting window message to its procedure,
//   2. end when "exit" is 1 (a termination signal sets it, and clears "restart"),
//   3. tick the timer, 4. poll the input, 5. take the frame time dt,
//   6. keep the frame-rate average, 7.-8. queue the frame-rate and developer texts,
//   9. update and render the world with dt, 10. update the sound manager.
// The destructor is the whole shutdown (SaveSettings included).
#include "core/CoreServices.h"
#include "core/FrameRate.h"
#include "platform/win32.h"

#include <functional>
#include <memory>

class N_AppWindow;
class N_ErrorLog;
class N_InputMng;
class N_Log;
class N_StringTable;
class N_TextureMng;
class N_Timer;
class N_VarMng;
class N_World;

class N_Application {
 public:
  /// Called once per pass of the main loop, right after the message drain (automated
  /// runs use it to set variables such as "exit", as the menus would).
  using FrameHook = std::function<void()>;

  N_Application();
  ~N_Application();
  N_Application(const N_Application&) = delete;
  N_Application& operator=(const N_Application&) = delete;

  bool Init(HINSTANCE instance);
  void Run();
  /// The first half of shutdown: dump the variables, keep the volumes, shut the
  /// renderer and input down, unregister the window class, write "config.cfg" (unless
  /// it was there at the start and could not be read: it is kept as it is). True.
  bool SaveSettings();

  void SetFrameHook(FrameHook hook) { m_frameHook = std::move(hook); }

  const N_FrameRate& FrameRate() const { return m_frameRate; }
  int BigCharsShader() const { return m_bigcharsShader; }
  int ConsoleShader() const { return m_consoleShader; }
  int ThirdShader() const { return m_thirdShader; }

 private:
  void CreateCoreServices();
  void ReadConfiguration();
  void CreateWindow();
  bool CreateDeviceServices();
  void CreateWorld();
  void EndOnTerminationRequest();
  void DrainMessages();
  void Frame();
  void QueueOverlayTexts(float frameTime);
  void ReleaseServices();

  N_Log* m_log = nullptr;            ///< the same object as g_log
  N_AppWindow* m_window = nullptr;
  int m_bigcharsShader = -1;         ///< "gfx/2d/bigchars", the fixed font
  int m_consoleShader = -1;          ///< "console"
  int m_thirdShader = -1;            ///< "HmlaHack1"

  std::unique_ptr<N_Log> m_ownedLog;
  std::unique_ptr<N_ErrorLog> m_errorLog;
  std::unique_ptr<N_VarMng> m_varMng;
  std::unique_ptr<N_Timer> m_timer;
  std::unique_ptr<N_StringTable> m_stringTable;
  std::unique_ptr<N_AppWindow> m_ownedWindow;
  std::unique_ptr<N_TextureMng> m_textureMng;
  std::unique_ptr<N_InputMng> m_inputMng;
  std::unique_ptr<N_World> m_world;
  N_CoreServices m_services;
  N_FrameRate m_frameRate;
  FrameHook m_frameHook;
  bool m_keepConfig = false;  ///< "config.cfg" could not be read: not written over
};
