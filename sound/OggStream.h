#pragma once
// One Ogg Vorbis file streamed through the sound manager's source slot 0: decoded
// piece by piece (at most 32,768 bytes of 16-bit PCM, whole frames) into a queue of
// eight OpenAL buffers that are refilled as they are played. Files of 1 to 8 channels
// play, each piece converted by the stream's ChannelLayout (OpenAL's multichannel
// formats, or a stereo mix-down). The manager owns one as its music.
//
// Lifecycle: Open -> Start -> Update every frame (true while data remains) -> Release.
// Failures are thrown as a std::string holding the error text.
#include "sound/ChannelLayout.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

struct OggVorbis_File;
struct vorbis_info;
struct vorbis_comment;

class N_OggStream {
 public:
  static constexpr int kBufferCount = 8;
  static constexpr int kPieceSize = 32768;  ///< bytes per buffer at most
  static constexpr const char* kOpenAlError = "OpenAL error was raised.";

  N_OggStream();
  ~N_OggStream();  ///< releases an open stream (errors are swallowed here)
  N_OggStream(const N_OggStream&) = delete;
  N_OggStream& operator=(const N_OggStream&) = delete;

  /// Opens the file (engine path, resolved by the file layer), makes the buffers and
  /// takes slot 0 from the sound manager. Throws on failure.
  void Open(const std::string& fileName);
  /// Fills and queues the eight buffers and plays; false when not open, or when the
  /// stream ends before the eighth buffer is full.
  bool Start();
  /// Refills the processed buffers; false when not open or when the stream ran out.
  bool Update();
  bool IsPlaying() const;
  /// Stops, unqueues and deletes the buffers, closes the file. Nothing when not open.
  void Release();
  /// Decodes the next piece into the buffer; false at the end of the stream.
  bool Fill(std::uint32_t buffer);
  /// Unqueues every queued buffer.
  void Empty();
  /// Throws kOpenAlError when OpenAL reports an error.
  void CheckError();
  static std::string ErrorString(int code);

  bool IsOpen() const { return m_open != 0; }
  /// False when the manager had no source for the stream (it can then not play).
  bool HasSource() const { return m_hasSource; }
  /// The OpenAL format of the buffers: mono, stereo or a multichannel format.
  int Format() const { return m_format; }
  /// Seconds of audio decoded so far (0 when not open).
  double DecodedSeconds() const;

 private:
  std::FILE* m_file = nullptr;  ///< owned by the vorbisfile state once that is open
  std::unique_ptr<OggVorbis_File> m_vorbisFile;
  vorbis_info* m_info = nullptr;
  vorbis_comment* m_comment = nullptr;  ///< kept, not used
  std::array<std::uint32_t, kBufferCount> m_buffers{};
  std::uint32_t m_source = 0;
  std::int32_t m_slot = 0;
  std::int32_t m_format = 0;
  ChannelLayout m_layout = *ChannelLayout::Choose(2, false);  ///< of the open file
  std::int32_t m_open = 0;
  bool m_hasSource = false;
};
