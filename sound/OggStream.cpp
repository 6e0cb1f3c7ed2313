#include "sound/OggStream.h"

#include "platform/win32.h"
#include "sound/SoundModule.h"
#include "sound/SoundMng.h"

#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <optional>
#include <string>

namespace {

bool SourcePlaying(ALuint source) {
  ALint state = 0;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

/// The device's 16-bit format of a layout, or 0 when it has none of that name.
ALenum FormatOf(const ChannelLayout& layout) {
  const ALenum format = alGetEnumValue(layout.FormatName());
  return format == -1 ? 0 : format;
}

}  // namespace

N_OggStream::N_OggStream() : m_vorbisFile(std::make_unique<OggVorbis_File>()) {}

N_OggStream::~N_OggStream() {
  try {
    Release();
  } catch (const std::string&) {
    // Shutting down: an OpenAL error here changes nothing.
  }
}

void N_OggStream::Open(const std::string& fileName) {
  m_file = platform::OpenFile(fileName, "rb");
  if (!m_file) throw std::string("Could not open Ogg file.");
  const int result = ov_open(m_file, m_vorbisFile.get(), nullptr, 0);
  if (result < 0) {
    std::fclose(m_file);
    m_file = nullptr;
    throw std::string("Could not open Ogg stream. ") + ErrorString(result);
  }
  m_info = ov_info(m_vorbisFile.get(), -1);
  m_comment = ov_comment(m_vorbisFile.get(), -1);
  const std::optional<ChannelLayout> layout = ChannelLayout::Choose(m_info->channels, false);
  if (!layout) {
    const int channels = m_info->channels;
    ov_clear(m_vorbisFile.get());  // closes the file
    m_file = nullptr;
    throw std::string("Could not open Ogg stream. ") + std::to_string(channels) + " channels are more than " +
        std::to_string(ChannelLayout::kMaxChannels) + ".";
  }
  m_layout = *layout;

  alGetError();
  alGenBuffers(kBufferCount, m_buffers.data());
  if (alGetError() != AL_NO_ERROR) {
    ov_clear(m_vorbisFile.get());  // closes the file
    m_file = nullptr;
    throw std::string(kOpenAlError);
  }
  // The device's own multichannel format where it has one, else the stereo mix-down.
  if (alIsExtensionPresent("AL_EXT_MCFORMATS") == AL_TRUE) {
    const ChannelLayout multichannel = *ChannelLayout::Choose(m_info->channels, true);
    if (FormatOf(multichannel) != 0) m_layout = multichannel;
  }
  m_format = m_layout.OutChannels() == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
  if (m_layout.OutChannels() > 2) m_format = FormatOf(m_layout);
  alGetError();  // a failed name look-up leaves nothing behind

  m_slot = 0;
  N_SoundMng* manager = g_soundModule.manager;
  const std::uint32_t source = manager ? manager->ResetSource(m_slot) : N_SoundMng::kNoSlot;
  m_hasSource = source != N_SoundMng::kNoSlot;
  m_source = m_hasSource ? source : 0;
  m_open = 1;  // from here Release cleans up
  if (!m_hasSource) return;

  const ALfloat zero[3] = {0.0f, 0.0f, 0.0f};
  alSourcefv(m_source, AL_POSITION, zero);
  alSourcefv(m_source, AL_VELOCITY, zero);
  alSourcefv(m_source, AL_DIRECTION, zero);
  alSourcef(m_source, AL_ROLLOFF_FACTOR, 0.0f);
  const float volume = manager->GetMusicVolume();
  alSourcef(m_source, AL_GAIN, volume < 0.0f ? 0.0f : (volume > 1.0f ? 1.0f : volume));
  alSourcei(m_source, AL_SOURCE_RELATIVE, AL_TRUE);
  alSourcei(m_source, AL_LOOPING, AL_FALSE);
  CheckError();
}

bool N_OggStream::Start() {
  if (!m_open || !m_hasSource) return false;
  if (IsPlaying()) return true;
  for (const std::uint32_t buffer : m_buffers) {
    if (!Fill(buffer)) return false;
  }
  alGetError();
  alSourceQueueBuffers(m_source, kBufferCount, m_buffers.data());
  alSourcePlay(m_source);
  CheckError();
  return true;
}

bool N_OggStream::Update() {
  if (!m_open || !m_hasSource) return false;
  ALint processed = 0;
  alGetSourcei(m_source, AL_BUFFERS_PROCESSED, &processed);
  if (processed == 0) {
    if (!SourcePlaying(m_source)) alSourcePlay(m_source);  // it had run dry
    return true;
  }
  bool active = true;
  while (processed-- > 0) {
    ALuint buffer = 0;
    alGetError();
    alSourceUnqueueBuffers(m_source, 1, &buffer);
    CheckError();
    active = Fill(buffer);
    // Queued again also at the end: it then replays its old content until released.
    alSourceQueueBuffers(m_source, 1, &buffer);
    CheckError();
  }
  if (!SourcePlaying(m_source)) alSourcePlay(m_source);
  return active;
}

bool N_OggStream::IsPlaying() const { return m_open && m_hasSource && SourcePlaying(m_source); }

void N_OggStream::Release() {
  if (!m_open) return;
  // Every step runs, so the file is closed and the stream marked closed even when
  // OpenAL complains; the first error text is thrown afterwards.
  std::string error;
  if (m_hasSource) {
    alSourceStop(m_source);
    try {
      Empty();
    } catch (const std::string& text) {
      error = text;
    }
  }
  alGetError();
  alDeleteBuffers(kBufferCount, m_buffers.data());
  if (alGetError() != AL_NO_ERROR && error.empty()) error = kOpenAlError;
  m_buffers.fill(0);
  ov_clear(m_vorbisFile.get());  // closes the file
  m_file = nullptr;
  m_info = nullptr;
  m_comment = nullptr;
  m_open = 0;
  m_hasSource = false;
  if (!error.empty()) throw error;
}

bool N_OggStream::Fill(std::uint32_t buffer) {
  if (!m_open) return false;
  // The decoder hands out whole frames only: ask for room for whole frames, or a
  // file of 3, 5, 6 or 7 channels ends each piece with a request it must refuse.
  const int frameBytes = 2 * m_layout.Channels();
  const int room = kPieceSize / frameBytes * frameBytes;
  std::int16_t area[kPieceSize / 2];
  char* bytes = reinterpret_cast<char*>(area);
  int filled = 0;
  long result = 0;
  do {
    int link = 0;
    result = ov_read(m_vorbisFile.get(), bytes + filled, room - filled, 0, 2, 1, &link);
    if (result == OV_HOLE) continue;  // a recoverable gap in the data: read on
    if (result > 0 && ov_info(m_vorbisFile.get(), link)->channels != m_layout.Channels()) {
      throw std::string("Ogg stream changes its channel count inside the file.");
    }
    if (result > 0) filled += static_cast<int>(result);
  } while ((result > 0 || result == OV_HOLE) && filled < room);
  if (result < 0 && result != OV_HOLE) throw ErrorString(static_cast<int>(result));
  if (filled == 0) return false;  // the end: the buffer keeps what it held

  const std::size_t samples = m_layout.Convert(area, static_cast<std::size_t>(filled / frameBytes));
  alGetError();
  alBufferData(buffer, m_format, area, static_cast<ALsizei>(samples * 2), static_cast<ALsizei>(m_info->rate));
  CheckError();
  return true;
}

void N_OggStream::Empty() {
  if (!m_open || !m_hasSource) return;
  ALint queued = 0;
  alGetError();
  alGetSourcei(m_source, AL_BUFFERS_QUEUED, &queued);
  while (queued-- > 0) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(m_source, 1, &buffer);
    CheckError();
  }
}

void N_OggStream::CheckError() {
  if (alGetError() != AL_NO_ERROR) throw std::string(kOpenAlError);
}

std::string N_OggStream::ErrorString(int code) {
  switch (code) {
    case OV_EREAD:
      return "Read from media.";
    case OV_EFAULT:
      return "Internal logic fault (bug or heap/stack corruption.";
    case OV_ENOTVORBIS:
      return "Not Vorbis data.";
    case OV_EBADHEADER:
      return "Invalid Vorbis header.";
    case OV_EVERSION:
      return "Vorbis version mismatch.";
    default:
      return "Unknown Ogg error.";
  }
}

double N_OggStream::DecodedSeconds() const {
  return m_open ? ov_time_tell(m_vorbisFile.get()) : 0.0;
}
