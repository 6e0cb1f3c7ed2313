#include "scene/Animation.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "scene/AnimFileData.h"
#include "scene/Bone.h"

#include <algorithm>
#include <cmath>
#include <string>
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

/// A key's position is its bone's place relative to its parent: one farther away than
/// this lies beyond any figure, prop or course.
constexpr float kFarthestKey = 100000.0f;
/// A key's rotation is a unit quaternion; a length off by more is no rotation.
constexpr double kRotationLengthSlack = 0.01;

/// Puts right a key that is no usable transform: a position beyond kFarthestKey (or not
/// a number) becomes the parent's, a rotation of another length is normalized (one of
/// no length, no turn). True when the key was changed.
bool MendKey(N_AnimKey& key) {
  bool mended = false;
  for (float* v : {&key.position.x, &key.position.y, &key.position.z}) {
    if (std::isfinite(*v) && std::fabs(*v) <= kFarthestKey) continue;
    *v = 0.0f;
    mended = true;
  }
  N_Quaternion& q = key.rotation;
  const double length = std::sqrt(double(q.w) * q.w + double(q.x) * q.x + double(q.y) * q.y + double(q.z) * q.z);
  if (std::isfinite(length) && std::fabs(length - 1.0) <= kRotationLengthSlack) return mended;
  if (std::isfinite(length) && length > kRotationLengthSlack) {
    q = {float(q.w / length), float(q.x / length), float(q.y / length), float(q.z / length)};
  } else {
    q = {};
  }
  return true;
}

/// Mends the keys the tracks use, said in one line naming the file.
void MendKeys(const char* fileName, const std::vector<N_AnimTrack>& tracks, std::vector<N_AnimKey>& keys) {
  std::size_t mended = 0;
  std::string first;
  for (const N_AnimTrack& track : tracks) {
    for (std::uint32_t frame = 0; frame < track.keyCount; ++frame) {
      if (!MendKey(keys[track.firstKey + frame])) continue;
      if (mended++ == 0) first = "frame " + std::to_string(frame) + " of track '" + track.name + "'";
    }
  }
  if (mended > 0) {
    LogLine("!!! %s: %zu key%s no usable transform (first: %s): put right\n", fileName, mended,
            mended == 1 ? " is" : "s are", first.c_str());
  }
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
  MendKeys(fileName, tracks, keys);
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
