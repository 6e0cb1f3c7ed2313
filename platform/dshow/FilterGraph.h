#pragma once
// Inside the layer only: the filter graph object behind CLSID_FilterGraph. One object
// implements the four interfaces; it lives until the last reference is released, which
// stops the player thread and destroys the video window (leaving full screen).
//
// States: empty -> RenderFile (file probed, decoder ready) -> Pause (window shown,
// player thread cued on the first frame) -> Run (clock running; EC_COMPLETE once the
// last frame has had its time, EC_ERRORABORT with VFW_E_INVALID_FILE_FORMAT as soon as
// the video's timing turns out damaged) -> Stop (thread joined; a new Pause starts over).
// Every method is called on the engine's thread; only the event queue is shared with
// the player thread.
#include "platform/dshow/GraphEvents.h"
#include "platform/dshow/Interfaces.h"
#include "platform/dshow/VideoDecoder.h"
#include "platform/dshow/VideoPlayer.h"
#include "platform/dshow/VideoWindow.h"

#include <atomic>
#include <memory>
#include <string>

namespace platform {

/// Posts a drain message through the thread's message queue (the graph's default poster).
void PostDrainMessage(HWND drain, const DrainMessage& message);

class FilterGraph final : public IGraphBuilder, public IMediaControl, public IVideoWindow, public IMediaEventEx {
 public:
  /// `poster` delivers the video window's input to the message drain.
  explicit FilterGraph(VideoWindow::Poster poster);

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) override;

  HRESULT Run() override;
  HRESULT Pause() override;
  HRESULT Stop() override;

  HRESULT get_FullScreenMode(LONG* mode) override;
  HRESULT put_FullScreenMode(LONG mode) override;
  HRESULT get_MessageDrain(OAHWND* drain) override;
  HRESULT put_MessageDrain(OAHWND drain) override;
  HRESULT NotifyOwnerMessage(OAHWND window, LONG message, LONG_PTR wParam, LONG_PTR lParam) override;

  HRESULT GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) override;
  HRESULT FreeEventParams(LONG eventCode, LONG_PTR param1, LONG_PTR param2) override;

  /// The video window while it exists (tests look at it).
  const VideoWindow* Window() const { return m_window.get(); }

 private:
  ~FilterGraph() override;
  bool HasVideo() const { return m_hasVideo; }
  /// Opens the window and cues the player on the first frame, if not done yet.
  HRESULT Cue();

  std::atomic<ULONG> m_refs{1};
  std::string m_path;  ///< disk path of the rendered file; empty before RenderFile
  bool m_hasVideo = false;
  int m_width = 0;
  int m_height = 0;
  std::unique_ptr<VideoDecoder> m_decoder;  ///< ready for the next playback
  LONG m_fullScreen = OAFALSE;
  OAHWND m_drain = 0;
  GraphEvents m_events;
  std::unique_ptr<VideoWindow> m_window;
  std::unique_ptr<VideoPlayer> m_player;
};

}  // namespace platform
