#pragma once
// N_Animation: one animation file ("ANIM") in memory: a track of keys per bone, one key
// per frame. Loaded by the animation set (N_AnimationFactory::AddAnimation), which
// then orders the tracks by its skeleton's bones with MatchBones, so that track i
// belongs to bone i; the posing reads the keys by track and frame from then on.
#include "scene/AnimFile.h"

#include <vector>

struct N_Bone;

class N_Animation {
 public:
  /// Reads an animation file into this object. False on every failure, with the
  /// object left as it was: a null name (no message), a file that cannot be opened
  /// (code 12), a wrong magic or a malformed file (code 9, "not valid mesh file"), a
  /// wrong version (code 9). A valid file holds at least one track, and every track at
  /// least 2 keys inside the key section.
  bool Load(const char* fileName);
  /// Reorders the tracks so that track i is the first track named like bone i (byte
  /// for byte). False with the order kept when the counts differ (no message) or a
  /// bone has no track (its name is logged as "->name<-").
  bool MatchBones(const N_Bone* bones, int boneCount);

  const std::vector<N_AnimTrack>& Tracks() const { return m_tracks; }
  const std::vector<N_AnimKey>& Keys() const { return m_keys; }
  int TrackCount() const { return static_cast<int>(m_tracks.size()); }
  /// Frames of the animation: the key count of its first track.
  int FrameCount() const { return m_tracks.empty() ? 0 : static_cast<int>(m_tracks[0].keyCount); }
  /// Key min(frame, the track's key count - 1) of a track; both must be in range.
  const N_AnimKey& Key(int track, int frame) const;

 private:
  std::vector<N_AnimTrack> m_tracks;
  std::vector<N_AnimKey> m_keys;
};
