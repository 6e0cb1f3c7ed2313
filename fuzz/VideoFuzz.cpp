// The intro video ("data\video\intro.avi"), through the filter graph the cutscene plays
// it with: made by CoCreateInstance and given the file by RenderFile, as the cutscene
// probes it; then, where the graph found a video stream, that stream decoded frame by
// frame as the player thread does (at most kMaxFrames), each frame kept by the blitter
// as for a repaint (there is no window to draw on) and the picture fitted to a screen.
// Checked: the graph and the decoder agree on the file, the frames' times never run
// back or stop being numbers, and the fitted picture stays on the screen.
#include "fuzz/FuzzSupport.h"
#include "platform/dshow.h"
#include "platform/dshow/FrameBlitter.h"
#include "platform/dshow/VideoDecoder.h"
#include "platform/win32/Files.h"

#include <cmath>
#include <utility>

namespace {

constexpr const char* kPath = "data\\video\\fuzz.avi";
constexpr char16_t kWidePath[] = u"data\\video\\fuzz.avi";
constexpr int kMaxFrames = 100;

/// What RenderFile made of the file: whether it took it and found a video stream.
struct Rendered {
  bool taken = false;
  bool video = false;
};

Rendered RenderThroughGraph() {
  IGraphBuilder* graph = nullptr;
  const HRESULT made = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC, IID_IGraphBuilder,
                                        reinterpret_cast<void**>(&graph));
  fuzz::Check(SUCCEEDED(made) && graph, "no filter graph");
  Rendered rendered;
  rendered.taken = SUCCEEDED(graph->RenderFile(kWidePath, nullptr));
  if (rendered.taken) {
    // The window interface answers only for a file with a video stream.
    IVideoWindow* window = nullptr;
    LONG fullScreen = 0;
    if (SUCCEEDED(graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&window))) && window) {
      rendered.video = window->get_FullScreenMode(&fullScreen) != E_NOINTERFACE;
      window->Release();
    }
  }
  graph->Release();
  return rendered;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  fuzz::Check(com, "COM did not start");
  fuzz::WriteFile(kPath, data, size);

  const Rendered rendered = RenderThroughGraph();
  if (!rendered.video) return 0;

  platform::VideoDecoder decoder;
  fuzz::Check(decoder.Open(platform::ResolvePath(kPath)) == platform::VideoDecoder::Status::Ok && decoder.HasVideo(),
              "the graph found a video stream the decoder does not open");
  platform::FrameBlitter blitter(decoder.DisplayAspect());
  double last = -1.0;
  for (int frame = 0; frame < kMaxFrames; ++frame) {
    double seconds = 0.0;
    const AVFrame* picture = decoder.NextFrame(seconds);
    if (!picture) break;
    fuzz::Check(std::isfinite(seconds) && seconds >= last, "a frame's time runs back or is no number");
    last = seconds;
    (void)blitter.Show(nullptr, picture);
  }
  for (const auto& [w, h] : {std::pair{1280, 1024}, std::pair{640, 480}, std::pair{1, 1}}) {
    const SDL_Rect fit = platform::FrameBlitter::FitRect(decoder.DisplayAspect(), w, h);
    fuzz::Check(fit.x >= 0 && fit.y >= 0 && fit.w >= 1 && fit.h >= 1 && fit.x + fit.w <= w && fit.y + fit.h <= h,
                "the fitted picture leaves the screen");
  }
  return 0;
}
