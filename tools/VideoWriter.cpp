#include "tools/VideoWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <functional>

namespace tools {
namespace {

/// One output file with one stream and its encoder; frees everything on destruction.
class AviOutput {
 public:
  ~AviOutput() {
    avcodec_free_context(&m_encoder);
    if (m_format && m_format->pb) avio_closep(&m_format->pb);
    avformat_free_context(m_format);
    av_packet_free(&m_packet);
  }

  /// Creates the file; `setUp` fills the encoder's parameters before it is opened.
  bool Open(const std::string& path, AVCodecID codecId, const std::function<void(AVCodecContext&)>& setUp) {
    const AVCodec* codec = avcodec_find_encoder(codecId);
    if (!codec || avformat_alloc_output_context2(&m_format, nullptr, "avi", path.c_str()) < 0) return false;
    m_format->flags |= AVFMT_FLAG_BITEXACT;  // no library version strings in the file
    m_encoder = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    if (!m_encoder || !m_packet) return false;
    m_encoder->flags |= AV_CODEC_FLAG_BITEXACT;
    m_encoder->thread_count = 1;
    setUp(*m_encoder);
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER) m_encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(m_encoder, codec, nullptr) < 0) return false;
    m_stream = avformat_new_stream(m_format, nullptr);
    if (!m_stream || avcodec_parameters_from_context(m_stream->codecpar, m_encoder) < 0) return false;
    m_stream->time_base = m_encoder->time_base;
    if (avio_open(&m_format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return false;
    return avformat_write_header(m_format, nullptr) >= 0;
  }

  /// Encodes one frame (null: flushes the encoder) and writes the packets it gives.
  bool Encode(const AVFrame* frame) {
    if (avcodec_send_frame(m_encoder, frame) < 0) return false;
    for (;;) {
      const int got = avcodec_receive_packet(m_encoder, m_packet);
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
      if (got < 0) return false;
      av_packet_rescale_ts(m_packet, m_encoder->time_base, m_stream->time_base);
      m_packet->stream_index = m_stream->index;
      if (av_interleaved_write_frame(m_format, m_packet) < 0) return false;
    }
  }

  bool Finish() { return Encode(nullptr) && av_write_trailer(m_format) >= 0; }

  AVCodecContext& Encoder() { return *m_encoder; }

 private:
  AVFormatContext* m_format = nullptr;
  AVCodecContext* m_encoder = nullptr;
  AVStream* m_stream = nullptr;
  AVPacket* m_packet = nullptr;
};

struct Yuv {
  std::uint8_t y, u, v;
};

/// BT.601 studio-range colour from 8-bit RGB, in integers (the same on every machine).
Yuv ToYuv(int r, int g, int b) {
  return {static_cast<std::uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16),
          static_cast<std::uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128),
          static_cast<std::uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128)};
}

/// The picture of frame `index`: sky gradient, snow below 3/4 of the height, a red
/// block moving along the snow line.
Yuv PixelAt(int x, int y, int index, const IntroVideoSpec& spec) {
  const int blockSize = spec.height / 6;
  const int blockX = (spec.width - blockSize) * index / std::max(spec.frames - 1, 1);
  const int blockY = spec.height * 3 / 4 - blockSize;
  if (x >= blockX && x < blockX + blockSize && y >= blockY && y < blockY + blockSize) return ToYuv(200, 30, 30);
  if (y >= spec.height * 3 / 4) return ToYuv(235, 240, 245);
  const int shade = 255 * y / spec.height;
  return ToYuv(40 + shade / 4, 90 + shade / 3, 200);
}

void FillFrame(AVFrame& frame, int index, const IntroVideoSpec& spec) {
  for (int y = 0; y < spec.height; ++y) {
    for (int x = 0; x < spec.width; ++x) {
      const Yuv c = PixelAt(x, y, index, spec);
      frame.data[0][y * frame.linesize[0] + x] = c.y;
      if ((x % 2) == 0 && (y % 2) == 0) {
        frame.data[1][(y / 2) * frame.linesize[1] + x / 2] = c.u;
        frame.data[2][(y / 2) * frame.linesize[2] + x / 2] = c.v;
      }
    }
  }
}

bool Fail(const std::string& path, const char* what) {
  std::fprintf(stderr, "VideoWriter: %s failed for %s\n", what, path.c_str());
  return false;
}

}  // namespace

bool WriteIntroVideo(const std::string& path, const IntroVideoSpec& spec) {
  if (spec.width <= 0 || spec.height <= 0 || spec.width % 2 || spec.height % 2 || spec.framesPerSecond <= 0 ||
      spec.frames <= 0 || spec.rateDivisor <= 0 || spec.jumpSeconds < 0) {
    return Fail(path, "the frame size or count");
  }
  AviOutput out;
  const bool opened = out.Open(path, AV_CODEC_ID_MPEG4, [&](AVCodecContext& c) {
    c.width = spec.width;
    c.height = spec.height;
    c.pix_fmt = AV_PIX_FMT_YUV420P;
    c.time_base = {spec.rateDivisor, spec.framesPerSecond};
    c.framerate = {spec.framesPerSecond, spec.rateDivisor};
    c.gop_size = spec.framesPerSecond;
    c.max_b_frames = 0;
    c.flags |= AV_CODEC_FLAG_QSCALE;  // constant quality: small and stable
    c.global_quality = FF_QP2LAMBDA * 4;
  });
  if (!opened) return Fail(path, "opening the encoder or the file");
  AVFrame* frame = av_frame_alloc();
  if (!frame) return Fail(path, "allocating a frame");
  frame->format = AV_PIX_FMT_YUV420P;
  frame->width = spec.width;
  frame->height = spec.height;
  bool ok = av_frame_get_buffer(frame, 0) >= 0;
  const std::int64_t jumpTicks =
      static_cast<std::int64_t>(spec.jumpSeconds) * spec.framesPerSecond / spec.rateDivisor;
  for (int i = 0; ok && i < spec.frames; ++i) {
    // The encoder may still hold the last picture: fill only a buffer of our own.
    ok = av_frame_make_writable(frame) >= 0;
    if (!ok) break;
    FillFrame(*frame, i, spec);
    frame->pts = i + (spec.jumpAt >= 0 && i >= spec.jumpAt ? jumpTicks : 0);
    frame->quality = out.Encoder().global_quality;
    ok = out.Encode(frame);
  }
  av_frame_free(&frame);
  return (ok && out.Finish()) || Fail(path, "encoding");
}

bool WriteSoundOnlyAvi(const std::string& path, double seconds) {
  constexpr int kRate = 22050;
  constexpr int kChunk = 1024;
  AviOutput out;
  const bool opened = out.Open(path, AV_CODEC_ID_PCM_S16LE, [&](AVCodecContext& c) {
    c.sample_rate = kRate;
    c.sample_fmt = AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&c.ch_layout, 1);
    c.time_base = {1, kRate};
  });
  if (!opened) return Fail(path, "opening the encoder or the file");
  const int total = static_cast<int>(seconds * kRate);
  AVFrame* frame = av_frame_alloc();
  bool ok = frame != nullptr;
  for (int done = 0; ok && done < total; done += kChunk) {
    av_frame_unref(frame);
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = kRate;
    frame->nb_samples = std::min(kChunk, total - done);
    av_channel_layout_default(&frame->ch_layout, 1);
    ok = av_frame_get_buffer(frame, 0) >= 0;
    auto* samples = reinterpret_cast<std::int16_t*>(frame->data[0]);
    for (int i = 0; ok && i < frame->nb_samples; ++i) {
      samples[i] = static_cast<std::int16_t>(8000 * std::sin(2.0 * M_PI * 440.0 * (done + i) / kRate));
    }
    frame->pts = done;
    ok = ok && out.Encode(frame);
  }
  av_frame_free(&frame);
  return (ok && out.Finish()) || Fail(path, "encoding");
}

}  // namespace tools
