#include "platform/dshow/FilterGraph.h"

#include "platform/win32/Debug.h"
#include "platform/win32/Files.h"
#include "platform/win32/Window.h"

#include <utility>

namespace platform {
namespace {

HRESULT ResultOf(VideoDecoder::Status status) {
  switch (status) {
    case VideoDecoder::Status::Ok: return S_OK;
    case VideoDecoder::Status::Missing: return HRESULT_FILE_NOT_FOUND;
    case VideoDecoder::Status::NotMedia: return VFW_E_UNKNOWN_FILE_TYPE;
    case VideoDecoder::Status::NoStreams:
    case VideoDecoder::Status::Undecodable: return VFW_E_UNSUPPORTED_STREAM;
  }
  return E_FAIL;
}

/// The window title: the file's name without its folders.
std::string TitleOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void PostDrainMessage(HWND drain, const DrainMessage& message) {
  PostMessageA(drain, message.message, message.wParam, message.lParam);
}

FilterGraph::FilterGraph(VideoWindow::Poster poster) : m_window(std::make_unique<VideoWindow>(std::move(poster))) {}

FilterGraph::~FilterGraph() {
  m_player.reset();  // the thread draws on the window: join it first
  m_window.reset();
}

HRESULT FilterGraph::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IGraphBuilder) {
    *ppv = static_cast<IGraphBuilder*>(this);
  } else if (riid == IID_IMediaControl) {
    *ppv = static_cast<IMediaControl*>(this);
  } else if (riid == IID_IVideoWindow) {
    *ppv = static_cast<IVideoWindow*>(this);
  } else if (riid == IID_IMediaEventEx) {
    *ppv = static_cast<IMediaEventEx*>(this);
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG FilterGraph::AddRef() { return ++m_refs; }

ULONG FilterGraph::Release() {
  const ULONG left = --m_refs;
  if (left == 0) delete this;
  return left;
}

HRESULT FilterGraph::RenderFile(LPCWSTR file, LPCWSTR playList) {
  if (!file) return E_POINTER;
  if (playList) return E_INVALIDARG;
  Stop();
  const std::string path = ResolvePath(Utf16ToUtf8(file));
  auto decoder = std::make_unique<VideoDecoder>();
  const HRESULT hr = ResultOf(decoder->Open(path));
  if (FAILED(hr)) return hr;
  m_path = path;
  m_hasVideo = decoder->HasVideo();
  m_width = decoder->Width();
  m_height = decoder->Height();
  m_decoder = std::move(decoder);
  return S_OK;
}

HRESULT FilterGraph::Cue() {
  if (m_player || m_path.empty()) return S_OK;
  if (!m_hasVideo) return S_OK;  // nothing to show (sound is not played): Run ends at once
  if (!m_window->Handle() && !m_window->Create(TitleOf(m_path), m_width, m_height, m_fullScreen == OATRUE)) {
    return E_FAIL;
  }
  if (!m_decoder) {
    m_decoder = std::make_unique<VideoDecoder>();
    if (m_decoder->Open(m_path) != VideoDecoder::Status::Ok || !m_decoder->HasVideo()) {
      m_decoder.reset();
      return VFW_E_UNSUPPORTED_STREAM;  // the file changed since RenderFile
    }
  }
  m_player = std::make_unique<VideoPlayer>(std::move(m_decoder), m_window->Handle(), [this](VideoPlayer::End end) {
    if (end == VideoPlayer::End::Complete) {
      m_events.Push({EC_COMPLETE, S_OK, 0});
    } else {
      OutputDebugStringA("Video: the stream's timing is damaged; playback stopped\n");
      m_events.Push({EC_ERRORABORT, VFW_E_INVALID_FILE_FORMAT, 0});
    }
  });
  return S_OK;
}

HRESULT FilterGraph::Pause() {
  const HRESULT hr = Cue();
  if (FAILED(hr)) return hr;
  if (m_player) m_player->Pause();
  return S_OK;
}

HRESULT FilterGraph::Run() {
  const HRESULT hr = Cue();
  if (FAILED(hr)) return hr;
  if (m_player) {
    m_player->Run();
  } else if (!m_path.empty()) {
    m_events.Push({EC_COMPLETE, S_OK, 0});
  }
  return S_OK;
}

HRESULT FilterGraph::Stop() {
  m_player.reset();
  return S_OK;
}

HRESULT FilterGraph::get_FullScreenMode(LONG* mode) {
  if (!HasVideo()) return E_NOINTERFACE;
  if (!mode) return E_POINTER;
  *mode = m_fullScreen;
  return S_OK;
}

HRESULT FilterGraph::put_FullScreenMode(LONG mode) {
  if (!HasVideo()) return E_NOINTERFACE;
  m_fullScreen = mode ? OATRUE : OAFALSE;
  m_window->SetFullScreen(m_fullScreen == OATRUE);
  return S_OK;
}

HRESULT FilterGraph::get_MessageDrain(OAHWND* drain) {
  if (!HasVideo()) return E_NOINTERFACE;
  if (!drain) return E_POINTER;
  *drain = m_drain;
  return S_OK;
}

HRESULT FilterGraph::put_MessageDrain(OAHWND drain) {
  if (!HasVideo()) return E_NOINTERFACE;
  m_drain = drain;
  m_window->SetDrain(static_cast<HWND>(drain));
  return S_OK;
}

HRESULT FilterGraph::NotifyOwnerMessage(OAHWND, LONG, LONG_PTR, LONG_PTR) {
  // The SDL window follows system changes by itself: nothing to pass on.
  return HasVideo() ? S_OK : E_NOINTERFACE;
}

HRESULT FilterGraph::GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) {
  if (!eventCode || !param1 || !param2) return E_POINTER;
  GraphEvents::Event event{};
  if (!m_events.Take(event, msTimeout)) return E_ABORT;
  *eventCode = event.code;
  *param1 = event.param1;
  *param2 = event.param2;
  return S_OK;
}

HRESULT FilterGraph::FreeEventParams(LONG, LONG_PTR, LONG_PTR) { return S_OK; }

}  // namespace platform
