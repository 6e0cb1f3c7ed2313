#pragma once
// The athlete manager, a member of the world: reads the athletes of the profile file
// at start-up, keeps them in file order and split by sex, loads their gear shaders,
// the 31 start-number bibs and the ghost's gear, lets the career put the player's own
// athlete in place of a file athlete, and reads and writes the per-career rosters of
// the athletes' nine attributes.
//
// Start-up, from the world's initialisation: ParseProfiles, SplitBySex, LoadTextures
// (which ends the program when there is no athlete); then the figure factory reads
// every athlete through the manager as its roster (N_FigureRoster, g_scene.figureRoster:
// Athlete(i) in file order, the ghost, the bibs), fills each athlete's figure, mesh
// and low-mesh fields and makes the ghost's figure its spare instance. Deleted by the
// world after the figure factory and before the shader manager's last cycle.
//
// Rosters: "data\tables\profile" + the career number, 36 bytes per athlete in file
// order (the nine attributes as little-endian floats), no header. The default copies
// hold each athlete's file values; Save puts them back, so every other mode races
// with the file values.
#include "core/Tokenizer.h"
#include "race/AthletProfile.h"
#include "scene/FigureRoster.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class N_ShaderMng;

class N_AthletMng : public N_FigureRoster {
 public:
  static constexpr std::size_t kRosterRecordBytes = 36;

  /// Gear shaders are added to and released from this manager, which must outlive it.
  explicit N_AthletMng(N_ShaderMng& shaderMng);
  /// Releases the shaders it added, deletes the athletes and the default copies.
  ~N_AthletMng() override;
  N_AthletMng(const N_AthletMng&) = delete;
  N_AthletMng& operator=(const N_AthletMng&) = delete;

  /// Reads the profile file into the athletes (appended in file order). Faults are
  /// reported (code 12) and replaced by defaults; a missing file gives no athlete.
  void ParseProfiles(const char* fileName);
  /// Fills the male and female lists and the default copies; an athlete of another
  /// sex is reported in a box and left out of both lists.
  void SplitBySex();
  /// Per athlete the dress, gun, ski and sticks shaders (start number 0), then the 31
  /// bibs, then the ghost's gear. No athlete at all is the critical error of a missing
  /// profile file.
  void LoadTextures();
  /// Gives back every shader LoadTextures added (nothing when it has not run).
  void ReleaseTextures();

  std::size_t GetMaleCount() const { return m_males.size(); }
  std::size_t GetFemaleCount() const { return m_females.size(); }
  /// The record at that index of the list, or null when the index is not below its size.
  N_AthletProfile* GetMale(std::size_t index) const;
  N_AthletProfile* GetFemale(std::size_t index) const;
  /// The list of sex 0 (male) or 1 (female); GetMale / GetFemale by sex.
  N_AthletProfile* GetBySex(int sex, std::size_t index) const;

  /// All athletes in file order (both sexes, and athletes of neither list).
  std::size_t AthleteCount() const override { return m_athletes.size(); }
  /// Null when the index is not below the count.
  N_AthletProfile* Athlete(std::size_t index) const override;
  /// The figure of the recorded run: a record in its defaults with the ghost gear; its
  /// Figure is the figure factory's spare instance.
  N_AthletProfile& Ghost() override { return m_ghost; }
  /// The shader of the bib of start number n (1 to 31), kNoShader (-1) for others and
  /// before LoadTextures.
  int BibShader(int startNumber) const override;

  /// The career's own athlete takes the place of the athlete at index of the list of
  /// sex: its nine attributes and name are overwritten (until RestoreDefaults);
  /// nothing else changes.
  void SetPlayerAthlete(std::size_t index, int sex, const N_AthletProfile& source);

  // Career rosters.
  /// The default copies take the athletes' nine attributes (their names stay the
  /// file's).
  void StoreDefaults();
  /// The athletes take the nine attributes and the names of their default copies and
  /// hold their file values again (until the next Load).
  void RestoreDefaults();
  /// "data\tables\profile" + the career number.
  static std::string RosterFileName(int career);
  /// The roster file's bytes of the athletes' current values.
  std::string RosterBytes() const;
  /// Whether the athletes hold their file values (no career's roster is loaded).
  bool HoldsFileValues() const { return m_holdsFileValues; }
  /// Replaces the roster of career n with the athletes' values (whole, or not at all:
  /// false, the old roster stays), then restores the file values either way.
  bool Save(int career);
  /// What loading a roster found.
  enum class RosterLoad {
    Loaded,      ///< the athletes hold the roster's values (out of range ones clamped, logged)
    Missing,     ///< no roster: the athletes keep their values
    Unreadable,  ///< a roster that cannot be read (*why says why): the athletes hold their file values
    WrongSize,   ///< a roster of another athlete count (a box): the athletes keep their values
  };
  /// Reads the roster of career n into the athletes. A value that is no number or lies
  /// outside 0 to 100 takes the athlete's file value, with one log line naming the file.
  RosterLoad LoadRoster(int career, std::string* why = nullptr);
  /// LoadRoster, true when Loaded.
  bool Load(int career) { return LoadRoster(career) == RosterLoad::Loaded; }
  /// The default copy of athlete index (file order), one per athlete.
  const N_AthletProfile& DefaultCopy(std::size_t index) const { return m_defaults[index]; }
  std::size_t DefaultCopyCount() const { return m_defaults.size(); }

 private:
  /// Reads the key's value into the current values; true when a "}" stood in its place
  /// (the athlete is complete).
  bool ParseValue(std::size_t keyIndex, N_AthletProfile& current);

  N_ShaderMng& m_shaderMng;
  N_Tokenizer m_tokenizer;
  std::vector<std::unique_ptr<N_AthletProfile>> m_athletes;  ///< owned, file order
  std::vector<N_AthletProfile*> m_males;                     ///< borrowed from m_athletes
  std::vector<N_AthletProfile*> m_females;
  std::vector<N_AthletProfile> m_defaults;  ///< one per athlete: its file attributes
  N_AthletProfile m_ghost;
  std::array<int, kBibCount> m_bibs{};
  bool m_texturesLoaded = false;
  /// The athletes hold their file values (after the split and after every Save): only
  /// then may Load take the current values as the default copies.
  bool m_holdsFileValues = false;
};
