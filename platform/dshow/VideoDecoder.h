#pragma once
// Inside the layer only: the video stream of one media file, demuxed and decoded with
// FFmpeg. Owned by the filter graph after RenderFile, then by the player thread,
// which is the only caller of NextFrame.
#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

namespace platform {

class VideoDecoder {
 public:
  enum class Status { Ok, Missing, NotMedia, NoStreams, Undecodable };

  /// A stream whose header gives a longer frame interval is damaged: a real video
  /// shows at least one picture a second.
  static constexpr double kMaxFrameInterval = 1.0;
  /// A longer gap between two frames' times is a damaged time stamp.
  static constexpr double kMaxTimeJump = 3.0;

  VideoDecoder() = default;
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder&) = delete;
  VideoDecoder& operator=(const VideoDecoder&) = delete;

  /// Opens a file (a disk path) and the decoder of its first video stream. A file
  /// with streams but no video opens (Ok) without a decoder: HasVideo() is false.
  Status Open(const std::string& diskPath);

  bool HasVideo() const { return m_codec != nullptr; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  /// Width : height of the picture as shown (sample aspect ratio applied).
  double DisplayAspect() const { return m_displayAspect; }
  /// Seconds one frame stays on screen (from the stream's frame rate; 1/25 if unknown).
  double FrameDuration() const { return m_frameDuration; }

  /// Decodes the next frame; null at the end of the stream, and from the first frame
  /// on when the timing is damaged (see Damaged). Frames that cannot be decoded are
  /// skipped. `seconds` receives the frame's presentation time. The frame stays valid
  /// until the next call.
  const AVFrame* NextFrame(double& seconds);
  /// True once the stream turned out to be unplayable in time: a frame interval over
  /// kMaxFrameInterval, or a frame more than kMaxTimeJump after the one before. Waiting
  /// for such a frame would hold the player for hours.
  bool Damaged() const { return m_damaged; }

 private:
  bool ReceiveFrame();
  void Close();

  AVFormatContext* m_format = nullptr;
  AVCodecContext* m_codec = nullptr;
  AVPacket* m_packet = nullptr;
  AVFrame* m_frame = nullptr;
  int m_stream = -1;
  int m_width = 0;
  int m_height = 0;
  double m_displayAspect = 1.0;
  double m_frameDuration = 1.0 / 25.0;
  double m_timeBase = 0.0;
  double m_lastSeconds = -1.0;
  bool m_draining = false;  ///< the demuxer is exhausted; the decoder is being flushed
  bool m_finished = false;
  bool m_damaged = false;
  bool m_started = false;  ///< a frame has been returned
};

}  // namespace platform
