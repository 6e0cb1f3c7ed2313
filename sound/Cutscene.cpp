#include "sound/Cutscene.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "platform/dshow.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kMaxPath = 260;
constexpr const char* kClassName = "Cutscene Player";
constexpr DWORD kPollMs = 100;
// The virtual keys that stop the video.
constexpr WPARAM kEnterKey = 13;
constexpr WPARAM kEscapeKey = 27;
constexpr WPARAM kSpaceKey = 32;

// Module state, valid during one call of PlayCutscene.
IGraphBuilder* pGB = nullptr;
IMediaControl* pMC = nullptr;
IVideoWindow* pVW = nullptr;
IMediaEventEx* pME = nullptr;
HWND g_hwndMain = 0;
OAHWND g_savedDrain = 0;  ///< the video window's drain before ours
int g_playing = 0;        ///< 1 while the loop runs
int g_aborted = 0;        ///< 1 once the user stopped the video

/// The 32-bit value of an HRESULT, for the "%x" texts and (widened) for "%08lx".
unsigned Hex(HRESULT hr) { return static_cast<std::uint32_t>(hr); }
unsigned long HexL(HRESULT hr) { return Hex(hr); }

template <typename T>
void ReleaseOne(T*& object) {
  if (object) {
    object->Release();
    object = nullptr;
  }
}

void ReleaseCutscene() {
  ReleaseOne(pGB);
  ReleaseOne(pMC);
  ReleaseOne(pVW);
  ReleaseOne(pME);
  DestroyWindow(g_hwndMain);
}

LRESULT CutsceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  const bool stopKey = message == WM_KEYDOWN && (wParam == kEnterKey || wParam == kEscapeKey || wParam == kSpaceKey);
  if (stopKey || message == WM_LBUTTONDOWN) {
    g_aborted = 1;
    if (pMC) pMC->Stop();
    g_playing = 0;
    PostMessageA(g_hwndMain, WM_CLOSE, 0, 0);
  }
  if (pVW) pVW->NotifyOwnerMessage(static_cast<OAHWND>(window), static_cast<LONG>(message), wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

bool CreateCutsceneWindow(const char* file, HINSTANCE instance) {
  WNDCLASSA windowClass;
  windowClass.style = 0;
  windowClass.lpfnWndProc = CutsceneWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return false;
  char title[32];
  std::snprintf(title, sizeof title, "%s: ", kClassName);
  const std::string name = std::string(title) + std::string(file, strnlen(file, kMaxPath));
  g_hwndMain = CreateWindowExA(0, kClassName, name.c_str(), 0, 0, 0, 0, 0, 0, 0, instance, nullptr);
  if (g_hwndMain == 0) UnregisterClassA(kClassName, instance);
  return g_hwndMain != 0;
}

HRESULT BuildCutsceneGraph() {
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&pGB));
  if (FAILED(hr)) {
    ShowCutsceneError(
        "FAILED(hr=0x%x) in CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC, IID_IGraphBuilder, (void "
        "**)&pGB)\n",
        Hex(hr));
  } else if (FAILED(hr = pGB->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&pMC)))) {
    ShowCutsceneError("FAILED(hr=0x%x) in pGB->QueryInterface(IID_IMediaControl, (void **)&pMC)\n", Hex(hr));
  } else if (FAILED(hr = pGB->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&pVW)))) {
    ShowCutsceneError("FAILED(hr=0x%x) in pGB->QueryInterface(IID_IVideoWindow, (void **)&pVW)\n", Hex(hr));
  } else if (FAILED(hr = pGB->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&pME)))) {
    ShowCutsceneError("FAILED(hr=0x%x) in pGB->QueryInterface(IID_IMediaEventEx, (void **)&pME)\n", Hex(hr));
  }
  if (FAILED(hr)) ReleaseCutscene();
  return hr;
}

HRESULT SetCutsceneFullScreen() {
  if (!pVW) return S_FALSE;
  LONG mode = OAFALSE;
  HRESULT hr = pVW->get_FullScreenMode(&mode);
  if (FAILED(hr)) {
    ShowCutsceneError("FAILED(hr=0x%x) in pVW->get_FullScreenMode(&lMode)\n", Hex(hr));
    return hr;
  }
  if (mode != OAFALSE) return hr;  // already full screen
  hr = pVW->get_MessageDrain(&g_savedDrain);
  if (FAILED(hr)) {
    ShowCutsceneError("FAILED(hr=0x%x) in pVW->get_MessageDrain((OAHWND *) &hDrain)\n", Hex(hr));
    return hr;
  }
  hr = pVW->put_MessageDrain(static_cast<OAHWND>(g_hwndMain));
  if (FAILED(hr)) {
    ShowCutsceneError("FAILED(hr=0x%x) in pVW->put_MessageDrain((OAHWND) g_hwndMain)\n", Hex(hr));
    return hr;
  }
  mode = OATRUE;
  hr = pVW->put_FullScreenMode(mode);
  if (FAILED(hr)) ShowCutsceneError("FAILED(hr=0x%x) in pVW->put_FullScreenMode(lMode)\n", Hex(hr));
  return hr;
}

/// Logs that the graph gave up on the video (a damaged file): start-up goes on without it.
void LogAbortedCutscene(const char* file, HRESULT hr) {
  if (g_log) g_log->Print("!!! PlayCutscene: playback of %s stopped on error 0x%08lx\n", file, HexL(hr));
}

/// Polls the graph's events and pumps the player window until the video ends, the
/// graph aborts it or the user stops it. Returns `hr`, the result of the last
/// FreeEventParams, or the error the graph aborted with.
HRESULT PollCutscene(const char* file, HRESULT hr) {
  g_playing = 1;
  while (g_playing) {
    LONG code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    if (pME->GetEvent(&code, &param1, &param2, 0) == E_ABORT) {
      Sleep(kPollMs);
    } else {
      // The graph stops on its own after an abort: no end event will follow.
      const bool last = code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT;
      if (last) g_playing = 0;
      hr = pME->FreeEventParams(code, param1, param2);
      if (FAILED(hr)) ShowCutsceneError("Failed(%08lx) to free event params (%s)!\r\n", HexL(hr), file);
      if (code == EC_ERRORABORT) {
        hr = FAILED(static_cast<HRESULT>(param1)) ? static_cast<HRESULT>(param1) : E_FAIL;
        LogAbortedCutscene(file, hr);
      }
      if (!last) Sleep(kPollMs);
    }
    MSG msg;
    while (PeekMessageA(&msg, g_hwndMain, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return hr;
}

HRESULT RunCutscene(const char* file) {
  if (!file) return E_POINTER;
  // The graph takes a UTF-16 name of at most 259 characters.
  WCHAR wideFile[kMaxPath] = {};
  const int needed = MultiByteToWideChar(CP_ACP, 0, file, -1, nullptr, 0);
  if (needed > 0) {
    std::u16string wide(static_cast<std::size_t>(needed), u'\0');
    MultiByteToWideChar(CP_ACP, 0, file, -1, wide.data(), needed);
    wide.copy(wideFile, kMaxPath - 1);
    wideFile[kMaxPath - 1] = 0;
  }
  HRESULT hr = pGB->RenderFile(wideFile, nullptr);
  if (FAILED(hr)) {
    ShowCutsceneError("Failed(0x%08lx) in RenderFile(%s)!\r\n", HexL(hr), file);
    return hr;
  }
  hr = pVW->put_MessageDrain(static_cast<OAHWND>(g_hwndMain));
  if (FAILED(hr)) {
    ShowCutsceneError(
        "Failed(0x%08lx) to set message drain for %s.\r\n\r\nThis sample is designed to play videos, but the file "
        "selected has no video component.",
        HexL(hr), file);
    return hr;
  }
  hr = SetCutsceneFullScreen();
  if (FAILED(hr)) {
    ShowCutsceneError("Failed(%08lx) to set fullscreen!\r\n", HexL(hr));
    return hr;
  }
  if (FAILED(hr = pMC->Pause())) {
    ShowCutsceneError("Failed(%08lx) in Pause()!\r\n", HexL(hr));
    return hr;
  }
  if (FAILED(hr = pMC->Run())) {
    ShowCutsceneError("Failed(%08lx) in Run()!\r\n", HexL(hr));
    return hr;
  }
  return PollCutscene(file, hr);
}

}  // namespace

HRESULT PlayCutscene(const char* file, HINSTANCE instance) {
  if (!file) return E_POINTER;
  g_playing = 0;
  g_aborted = 0;
  if (!CreateCutsceneWindow(file, instance)) return E_FAIL;
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return hr;
  hr = BuildCutsceneGraph();
  if (SUCCEEDED(hr)) {
    hr = RunCutscene(file);
    if (hr == S_OK && g_aborted) hr = S_FALSE;  // 1: stopped by the user
    ReleaseCutscene();
  }
  // The window is gone either way: its class goes too, or every later call would fail
  // to register it again.
  UnregisterClassA(kClassName, instance);
  CoUninitialize();
  return hr;
}

void ShowCutsceneError(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (platform::IsHeadless() && g_log) {
    const std::size_t length = std::char_traits<char>::length(text);
    const bool newline = length > 0 && text[length - 1] == '\n';
    g_log->Print("!!! PlayCutscene Error: %s%s", text, newline ? "" : "\n");
  }
  MessageBoxA(0, text, "PlayCutscene Error", MB_OK);
}
