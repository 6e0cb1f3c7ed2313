#include "sound/OggStream.h"

#include "platform/win32.h"
#include "sound/SoundModule.h"
#include "sound/SoundMng.h"

#include <AL/al.h>
#include <vorbis/vorbisfile.h>

namespace {

bool SourcePlaying(ALuint source) {
  ALint state = 0;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
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
  m_format = m_info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;

  alGetError();
  alGenBuffers(kBufferCount, m_buffers.data());
  if (alGetError() != AL_NO_ERROR) {
    ov_clear(m_vorbisFile.get());  // closes the file
    m_file = nullptr;
    throw std::string(kOpenAlError);
  }

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
  char area[kPieceSize];
  int filled = 0;
  long result = 0;
  do {
    int bitstream = 0;
    result = ov_read(m_vorbisFile.get(), area + filled, kPieceSize - filled, 0, 2, 1, &bitstream);
    if (result == OV_HOLE) continue;  // a recoverable gap in the data: read on
    if (result > 0) filled += static_cast<int>(result);
  } while ((result > 0 || result == OV_HOLE) && filled < kPieceSize);
  if (result < 0 && result != OV_HOLE) throw ErrorString(static_cast<int>(result));
  if (filled == 0) return false;  // the end: the buffer keeps what it held

  alGetError();
  alBufferData(buffer, m_format, area, filled, static_cast<ALsizei>(m_info->rate));
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
