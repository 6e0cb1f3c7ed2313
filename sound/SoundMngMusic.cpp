// The sound manager's music: the Ogg stream on slot 0, kept alive every frame.
#include "sound/SoundMng.h"

#include "sound/SoundModule.h"

bool N_SoundMng::PlayMusic(const char* fileName) {
  if (!m_deviceOpen || !fileName) return false;
  try {
    if (m_music.Update()) return false;  // music still streams
    m_musicFileName = fileName;
    if (m_music.IsOpen()) m_music.Release();  // ended but not yet released
    m_music.Open(m_musicFileName);
    if (!m_music.HasSource()) {
      MusicFailed("no sound source for the music");
      return false;
    }
    if (!m_music.Start()) SoundCritical(0, "Problem with Music, Check if instalation is correct.\n");
  } catch (const std::string& text) {
    MusicFailed(text);
  }
  return false;
}

bool N_SoundMng::StopMusic() {
  SetCategoryEnabled(SoundCategory::kMusic, 0);
  return false;
}

bool N_SoundMng::IsMusicPlaying() { return m_music.IsPlaying(); }

void N_SoundMng::KeepMusicAlive() {
  try {
    if (m_music.Update()) return;
    // Reopened only while a file is stored: after a failure the music stays off
    // until the next PlayMusic instead of retrying every frame.
    if (!IsCategoryEnabled(SoundCategory::kMusic) || m_musicFileName.empty()) return;
    m_music.Release();
    N_SoundSource& slot = m_sources[0];
    slot.category = SoundCategory::kEnvironment;
    slot.priority = N_SoundSource::kFreePriority;
    slot.handle = 0;
    m_music.Open(m_musicFileName);
    if (!m_music.HasSource()) {
      MusicFailed("no sound source for the music");
      return;
    }
    m_music.Start();  // plays again from its beginning
  } catch (const std::string& text) {
    MusicFailed(text);
  }
}

void N_SoundMng::ReleaseMusic() {
  try {
    m_music.Release();
  } catch (const std::string& text) {
    SoundLog("!!! Music: %s\n", text.c_str());
  }
}

void N_SoundMng::MusicFailed(const std::string& text) {
  SoundLog("!!! Music %s: %s\n", m_musicFileName.c_str(), text.c_str());
  ReleaseMusic();
  m_musicFileName.clear();
}
