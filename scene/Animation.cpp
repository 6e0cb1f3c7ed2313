#include "scene/Animation.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "scene/AnimFileData.h"
#include "scene/Bone.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace {

/// Every track inside the key section with at least the two keys the looping wrap
/// divides by (count - 1); at least one track, whose key count gives the frame count.
bool TracksFitKeys(const std::vector<N_AnimTrack>& tracks, std::size_t keyCount) {
  if (tracks.empty()) return false;
  return std::all_of(tracks.begin(), tracks.end(), [keyCount](const N_AnimTrack& track) {
    return track.keyCount >= 2 && std::uint64_t(track.firstKey) + track.keyCount <= keyCount;
  });
}

}  // namespace

bool N_Animation::Load(const char* fileName) {
  if (!fileName) return false;
  N_AnimFileData file;
  if (!file.Read(fileName)) {
    if (g_errorLog) g_errorLog->Report(12, "error loading file %s!\n", fileName);
    return false;
  }
  if (!file.HasDirectory() || file.Word(0) != animfile::kAnimationMagic) {
    if (g_errorLog) g_errorLog->Report(9, "%s is not valid mesh file!", fileName);
    return false;
  }
  if (file.Word(1) != animfile::kAnimationVersion) {
    if (g_errorLog) {
      g_errorLog->Report(9, "%s is an v.%d not supported version, supported version is 1.00", fileName,
                         static_cast<int>(file.Word(1)));
    }
    return false;
  }
  std::vector<N_AnimTrack> tracks;
  std::vector<N_AnimKey> keys;
  if (!file.ReadSection(animfile::kTracks, tracks) || !file.ReadSection(animfile::kKeys, keys) ||
      !TracksFitKeys(tracks, keys.size())) {
    if (g_errorLog) g_errorLog->Report(9, "%s is not valid mesh file!", fileName);
    return false;
  }
  m_tracks = std::move(tracks);
  m_keys = std::move(keys);
  return true;
}

bool N_Animation::MatchBones(const N_Bone* bones, int boneCount) {
  if (boneCount < 0 || static_cast<std::size_t>(boneCount) != m_tracks.size()) return false;
  // The first track of each name, found once: a file may hold very many tracks.
  std::unordered_map<std::string_view, std::size_t> firstOfName;
  for (std::size_t i = 0; i < m_tracks.size(); ++i) firstOfName.emplace(m_tracks[i].name, i);
  std::vector<N_AnimTrack> ordered;
  ordered.reserve(m_tracks.size());
  for (int i = 0; i < boneCount; ++i) {
    const auto found = firstOfName.find(bones[i].name);
    if (found == firstOfName.end()) {
      if (g_log) g_log->Print("->%s<-", bones[i].name);
      return false;
    }
    ordered.push_back(m_tracks[found->second]);
  }
  m_tracks = std::move(ordered);
  return true;
}

const N_AnimKey& N_Animation::Key(int track, int frame) const {
  const N_AnimTrack& t = m_tracks[static_cast<std::size_t>(track)];
  const std::uint32_t clamped = std::min<std::uint32_t>(static_cast<std::uint32_t>(std::max(frame, 0)), t.keyCount - 1);
  return m_keys[t.firstKey + clamped];
}
