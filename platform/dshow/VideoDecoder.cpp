#include "platform/dshow/VideoDecoder.h"

#include "platform/win32/Debug.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <cerrno>
#include <cmath>
#include <mutex>

namespace platform {
namespace {

void QuietLibraryLog() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

VideoDecoder::Status StatusOfOpenError(int err) {
  return (err == AVERROR(ENOENT) || err == AVERROR(ENOTDIR)) ? VideoDecoder::Status::Missing
                                                             : VideoDecoder::Status::NotMedia;
}

}  // namespace

VideoDecoder::~VideoDecoder() { Close(); }

void VideoDecoder::Close() {
  av_frame_free(&m_frame);
  av_packet_free(&m_packet);
  avcodec_free_context(&m_codec);
  avformat_close_input(&m_format);
  m_stream = -1;
}

VideoDecoder::Status VideoDecoder::Open(const std::string& diskPath) {
  QuietLibraryLog();
  Close();
  // "file:" keeps a name holding a colon from being read as another protocol.
  const std::string url = "file:" + diskPath;
  if (const int err = avformat_open_input(&m_format, url.c_str(), nullptr, nullptr); err < 0) {
    return StatusOfOpenError(err);
  }
  if (avformat_find_stream_info(m_format, nullptr) < 0) return Status::NotMedia;
  if (m_format->nb_streams == 0) return Status::NoStreams;

  const AVCodec* codec = nullptr;
  m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (m_stream == AVERROR_STREAM_NOT_FOUND) {
    m_stream = -1;
    return Status::Ok;  // no video: the graph has no video window
  }
  if (m_stream < 0 || !codec) return Status::Undecodable;

  AVStream* stream = m_format->streams[m_stream];
  m_codec = avcodec_alloc_context3(codec);
  if (!m_codec || avcodec_parameters_to_context(m_codec, stream->codecpar) < 0 ||
      avcodec_open2(m_codec, codec, nullptr) < 0 || m_codec->width <= 0 || m_codec->height <= 0) {
    avcodec_free_context(&m_codec);
    return Status::Undecodable;
  }
  m_packet = av_packet_alloc();
  m_frame = av_frame_alloc();
  m_width = m_codec->width;
  m_height = m_codec->height;
  const AVRational sar = av_guess_sample_aspect_ratio(m_format, stream, nullptr);
  const double pixelAspect = (sar.num > 0 && sar.den > 0) ? av_q2d(sar) : 1.0;
  m_displayAspect = pixelAspect * m_width / m_height;
  const AVRational rate = av_guess_frame_rate(m_format, stream, nullptr);
  if (rate.num > 0 && rate.den > 0) m_frameDuration = 1.0 / av_q2d(rate);
  m_damaged = m_frameDuration > kMaxFrameInterval;
  m_timeBase = av_q2d(stream->time_base);
  return Status::Ok;
}

bool VideoDecoder::ReceiveFrame() {
  while (!m_finished) {
    const int got = avcodec_receive_frame(m_codec, m_frame);
    if (got == 0) return true;
    if (got == AVERROR_EOF) break;
    if (got != AVERROR(EAGAIN)) break;  // the decoder failed: end the stream here
    if (m_draining) break;
    if (av_read_frame(m_format, m_packet) < 0) {
      m_draining = true;
      avcodec_send_packet(m_codec, nullptr);
      continue;
    }
    if (m_packet->stream_index == m_stream && avcodec_send_packet(m_codec, m_packet) < 0) {
      OutputDebugStringA("Video: skipped a packet the decoder refused\n");
    }
    av_packet_unref(m_packet);
  }
  m_finished = true;
  return false;
}

const AVFrame* VideoDecoder::NextFrame(double& seconds) {
  if (!m_codec || m_damaged || !ReceiveFrame()) return nullptr;
  const std::int64_t pts = m_frame->best_effort_timestamp;
  double at = pts == AV_NOPTS_VALUE ? m_lastSeconds + m_frameDuration : pts * m_timeBase;
  if (m_lastSeconds < 0.0 && pts == AV_NOPTS_VALUE) at = 0.0;
  if (at < m_lastSeconds) at = m_lastSeconds;  // never step back in time
  if (!std::isfinite(at) || (m_started && at - m_lastSeconds > kMaxTimeJump)) {
    m_damaged = true;
    m_finished = true;
    return nullptr;
  }
  m_started = true;
  m_lastSeconds = at;
  seconds = at;
  return m_frame;
}

}  // namespace platform
