#pragma once
// The DirectShow interfaces of the filter graph that the intro-video player calls.
// One filter graph object implements all four; each method keeps its documented
// meaning, result codes and constants.
#include "platform/dshow/Com.h"
#include "platform/win32/Unicode.h"

using OAHWND = LONG_PTR;
using OAEVENT = LONG_PTR;

constexpr LONG OATRUE = -1;
constexpr LONG OAFALSE = 0;
constexpr LONG INFINITE_TIMEOUT = -1;  ///< GetEvent's "wait for ever" (INFINITE as a long)

/// Graph event codes.
constexpr LONG EC_COMPLETE = 0x01;    ///< every stream has been played to its end
constexpr LONG EC_USERABORT = 0x02;
constexpr LONG EC_ERRORABORT = 0x03;  ///< playback stopped on an error; parameter 1 holds it

/// Result codes of the graph (documented values).
constexpr HRESULT HRESULT_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u);  ///< from ERROR_FILE_NOT_FOUND
constexpr HRESULT VFW_E_UNKNOWN_FILE_TYPE = static_cast<HRESULT>(0x80040240u);
constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = static_cast<HRESULT>(0x80040265u);
constexpr HRESULT VFW_E_INVALID_FILE_FORMAT = static_cast<HRESULT>(0x8004022Fu);  ///< a damaged file

extern const CLSID CLSID_FilterGraph;
extern const IID IID_IGraphBuilder;
extern const IID IID_IMediaControl;
extern const IID IID_IVideoWindow;
extern const IID IID_IMediaEventEx;

/// Builds the graph for a media file.
class IGraphBuilder : public IUnknown {
 public:
  /// Opens the file (a UTF-16 name in the engine's path form) and prepares its video
  /// for playback; `playList` must be null. S_OK also for a file without video (it
  /// then has no video window). 0x80070002 for a missing file,
  /// VFW_E_UNKNOWN_FILE_TYPE for a file that is no media file, VFW_E_UNSUPPORTED_STREAM
  /// when the video cannot be decoded or the file holds no stream at all.
  virtual HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
};

/// Runs, pauses and stops the graph. Each returns S_OK once the state is reached.
class IMediaControl : public IUnknown {
 public:
  /// Starts or resumes playback (from a stop: first pauses on the first frame).
  virtual HRESULT Run() = 0;
  /// Shows the window and cues the first frame without advancing.
  virtual HRESULT Pause() = 0;
  /// Ends playback; a later Pause or Run starts from the beginning.
  virtual HRESULT Stop() = 0;
};

/// The video window. Every method answers E_NOINTERFACE for a graph without video.
class IVideoWindow : public IUnknown {
 public:
  /// OATRUE in full-screen mode, else OAFALSE.
  virtual HRESULT get_FullScreenMode(LONG* mode) = 0;
  /// OATRUE switches to full screen (at once when the window is shown), OAFALSE back.
  virtual HRESULT put_FullScreenMode(LONG mode) = 0;
  /// The window that receives the video window's key and mouse messages (0: none).
  virtual HRESULT get_MessageDrain(OAHWND* drain) = 0;
  /// Key presses arrive there as WM_KEYDOWN (virtual-key codes), left clicks as
  /// WM_LBUTTONDOWN, through the thread's message queue.
  virtual HRESULT put_MessageDrain(OAHWND drain) = 0;
  /// Passes an owner window's message on to the video window.
  virtual HRESULT NotifyOwnerMessage(OAHWND window, LONG message, LONG_PTR wParam, LONG_PTR lParam) = 0;
};

/// The graph's event queue.
class IMediaEventEx : public IUnknown {
 public:
  /// Takes the next event; waits up to `msTimeout` ms (INFINITE_TIMEOUT: no limit).
  /// E_ABORT when none arrived in time.
  virtual HRESULT GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) = 0;
  /// Frees what an event's parameters hold (nothing here); S_OK.
  virtual HRESULT FreeEventParams(LONG eventCode, LONG_PTR param1, LONG_PTR param2) = 0;
};
