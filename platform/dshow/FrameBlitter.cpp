#include "platform/dshow/FrameBlitter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform {
namespace {

/// The libswscale format with the memory layout of an SDL surface format (little-endian).
AVPixelFormat PixelFormatOf(Uint32 sdlFormat) {
  switch (sdlFormat) {
    case SDL_PIXELFORMAT_RGB888: return AV_PIX_FMT_BGR0;
    case SDL_PIXELFORMAT_ARGB8888: return AV_PIX_FMT_BGRA;
    case SDL_PIXELFORMAT_BGR888: return AV_PIX_FMT_RGB0;
    case SDL_PIXELFORMAT_ABGR8888: return AV_PIX_FMT_RGBA;
    case SDL_PIXELFORMAT_RGB24: return AV_PIX_FMT_RGB24;
    case SDL_PIXELFORMAT_BGR24: return AV_PIX_FMT_BGR24;
    case SDL_PIXELFORMAT_RGB565: return AV_PIX_FMT_RGB565LE;
    default: return AV_PIX_FMT_NONE;
  }
}

}  // namespace

FrameBlitter::~FrameBlitter() {
  av_frame_free(&m_kept);
  sws_freeContext(m_scaler);
  if (m_staging) SDL_FreeSurface(m_staging);
}

SDL_Rect FrameBlitter::FitRect(double aspect, int w, int h) {
  if (w <= 0 || h <= 0 || !(aspect > 0.0)) return {0, 0, std::max(w, 0), std::max(h, 0)};
  int fitW = w;
  int fitH = static_cast<int>(std::lround(w / aspect));
  if (fitH > h) {
    fitH = h;
    fitW = static_cast<int>(std::lround(h * aspect));
  }
  fitW = std::clamp(fitW, 1, w);
  fitH = std::clamp(fitH, 1, h);
  return {(w - fitW) / 2, (h - fitH) / 2, fitW, fitH};
}

bool FrameBlitter::Show(SDL_Window* window, const AVFrame* frame) {
  if (!frame) return false;
  if (!m_kept) m_kept = av_frame_alloc();
  av_frame_unref(m_kept);
  if (!m_kept || av_frame_ref(m_kept, frame) < 0) return false;
  return Draw(window);
}

bool FrameBlitter::Repaint(SDL_Window* window) { return m_kept && m_kept->data[0] && Draw(window); }

bool FrameBlitter::Draw(SDL_Window* window) {
  SDL_Surface* target = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!target) return false;
  const SDL_Rect fit = FitRect(m_aspect, target->w, target->h);
  AVPixelFormat format = PixelFormatOf(target->format->format);
  SDL_Surface* canvas = target;
  if (format == AV_PIX_FMT_NONE) {
    // An unusual window format: scale into a 32-bit staging surface, SDL converts.
    if (!m_staging || m_staging->w != fit.w || m_staging->h != fit.h) {
      if (m_staging) SDL_FreeSurface(m_staging);
      m_staging = SDL_CreateRGBSurfaceWithFormat(0, fit.w, fit.h, 32, SDL_PIXELFORMAT_ARGB8888);
      if (!m_staging) return false;
    }
    canvas = m_staging;
    format = AV_PIX_FMT_BGRA;
  }
  m_scaler = sws_getCachedContext(m_scaler, m_kept->width, m_kept->height,
                                  static_cast<AVPixelFormat>(m_kept->format), fit.w, fit.h, format,
                                  SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!m_scaler) return false;
  if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
  SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  const int bytesPerPixel = canvas->format->BytesPerPixel;
  const int offsetX = canvas == target ? fit.x : 0;
  const int offsetY = canvas == target ? fit.y : 0;
  std::uint8_t* dst[4] = {static_cast<std::uint8_t*>(canvas->pixels) + offsetY * canvas->pitch +
                              offsetX * bytesPerPixel,
                          nullptr, nullptr, nullptr};
  const int dstStride[4] = {canvas->pitch, 0, 0, 0};
  sws_scale(m_scaler, m_kept->data, m_kept->linesize, 0, m_kept->height, dst, dstStride);
  if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  if (canvas != target) {
    SDL_Rect where = fit;
    SDL_BlitSurface(canvas, nullptr, target, &where);
  }
  return SDL_UpdateWindowSurface(window) == 0;
}

}  // namespace platform
