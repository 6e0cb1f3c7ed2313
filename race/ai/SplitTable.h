#pragma once
// N_SplitTable: the clock time of every racer at each split checkpoint and at the lap
// mark, per round (lap) of a race, and the intermediate standings that the split board
// shows for 10 s after the player passes a checkpoint. Made by the game mode's set-up
// (Create with the rounds and the racers, then AddRacers); the racers' sector events
// report the passages; the race step asks the player's rank; the training reads the
// lap times back; the game mode ticks the display (Update) once a step.
//
// A racer's id is its start number (1, 2, 3 ... in the order the racers were made);
// record i of a row belongs to the racer with id i + 1. Checkpoints are addressed by
// their mask: 1, 2, 4 ... 128 for checkpoints 1 to 8. Rounds and ids come from the race
// and are checked: a round outside the rows or an id outside 1 to the racer count
// writes nothing and reads -1.0 (the modes make different row counts, and a checkpoint
// passed after the last counted lap would otherwise land past them).
//
// The board is drawn through an N_SplitBoardView: the race pages' split board unless
// another view is set (tests record the calls).
#include "race/SplitBoardRow.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

struct N_Racer;

/// The split board's operations as the split table uses them.
class N_SplitBoardView {
 public:
  virtual ~N_SplitBoardView() = default;
  virtual void ShowIndividual() = 0;
  virtual void ShowRelay() = 0;
  virtual void Fill(const N_SplitBoardRow* row, bool isPlayer) = 0;
  virtual void Close() = 0;
};

/// The race pages' split board ("SplitTimes" with "Times1" / "Times2").
N_SplitBoardView& RacePagesSplitBoard();

/// One racer's times of one round: checkpoints 1 to 8, then the lap time; -1.0 (any
/// negative value) until passed.
struct N_SplitRecord {
  static constexpr int kCheckpoints = 8;

  std::array<float, kCheckpoints> Splits{-1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f};
  float RoundTime = -1.0f;

  /// The checkpoint's index for a mask of one of the eight bits, else -1.
  static int IndexOf(std::int32_t mask);
  /// The time at the checkpoint of the mask; -1.0 for any other mask.
  float Get(std::int32_t mask) const;
  /// Sets the time while it is still negative (the first passage counts); another mask
  /// writes nothing.
  void Set(std::int32_t mask, float time);
};

class N_SplitTable {
 public:
  N_SplitTable() = default;
  virtual ~N_SplitTable() = default;
  N_SplitTable(const N_SplitTable&) = delete;
  N_SplitTable& operator=(const N_SplitTable&) = delete;

  /// rounds + 1 rows of racers records, every value -1.0; true.
  bool Create(std::int32_t rounds, std::int32_t racers);
  /// One board entry per racer (athlete's name and nation, its start number, time -1.0,
  /// round -1), kept under the racer's id; an id already present keeps its entry.
  void AddRacers(N_Racer* const* racers, std::int32_t count);

  /// A racer passed the checkpoint of the mask in the round; an arrival at the
  /// standings on display is listed and drawn.
  void RecordSplit(std::int32_t round, std::int32_t racerId, float time, std::int32_t mask, bool isPlayer);
  /// The player passed a checkpoint: unless standings are shown, opens the individual
  /// board with every racer timed there and runs it for 10 s. The id is not used.
  void ShowStandings(std::int32_t round, std::int32_t racerId, std::int32_t mask);
  /// A relay leg's racer passed the checkpoint: recorded, and listed unless it already
  /// is; the player's passage also sets the player leg (id mod 4) and the standings'
  /// round and mask.
  void RecordRelaySplit(std::int32_t round, std::int32_t racerId, float time, std::int32_t mask, bool isPlayer);
  /// Unless standings are shown, opens the relay board with the player leg's entries.
  void ShowRelayStandings();

  /// The lap time, while it is still negative.
  void SetRoundTime(std::int32_t round, std::int32_t racerId, float time);
  float GetRoundTime(std::int32_t round, std::int32_t racerId) const;
  /// The time at the checkpoint of the mask; -1.0 outside the rows, racers or masks.
  float GetSplit(std::int32_t round, std::int32_t racerId, std::int32_t mask) const;

  /// The racer's rank at the standings on display: its own id before any were shown;
  /// 1 + the racers with a smaller positive time there (1 while it has none).
  void GetRank(std::int32_t racerId, std::int32_t& rank) const;
  /// The relay rank among the player leg's racers at the checkpoint on display: 1 + those
  /// with a smaller positive time there (1 while it has none); before any standings or
  /// for an id without an entry, the number of the racer's team (ids 1 to 4 are team 1).
  std::int32_t CountRelayRank(std::int32_t racerId) const;

  /// Ticks the display timer; once it is below 0 the board is closed and the listed
  /// racers forgotten (the shown round and mask stay).
  void Update(float dt);

  /// The board the table draws on (not owned; it must outlive the table); null gives
  /// the race pages' board back.
  void SetBoardView(N_SplitBoardView* view) { m_board = view ? view : &RacePagesSplitBoard(); }

  std::int32_t RowCount() const { return m_rowCount; }
  std::int32_t RacerCount() const { return m_racerCount; }
  bool Shown() const { return m_shown; }
  float DisplayTimer() const { return m_displayTimer; }
  std::int32_t ShownRound() const { return m_shownRound; }
  std::int32_t ShownMask() const { return m_shownMask; }
  std::int32_t PlayerId() const { return m_playerId; }
  std::int32_t PlayerLeg() const { return m_playerLeg; }
  /// The racers on the board and their times.
  const std::map<std::int32_t, float>& Listed() const { return m_listed; }
  /// The board entry of a racer; null when it has none (the relay mode sets the legs).
  N_SplitBoardRow* Entry(std::int32_t racerId);

 private:
  /// The record of the round and racer; null outside the rows or racers.
  N_SplitRecord* Record(std::int32_t round, std::int32_t racerId);
  const N_SplitRecord* Record(std::int32_t round, std::int32_t racerId) const;
  /// Starts the 10 s display with an empty list.
  void Open();

  std::vector<std::vector<N_SplitRecord>> m_rows;
  std::map<std::int32_t, std::unique_ptr<N_SplitBoardRow>> m_entries;
  std::int32_t m_rowCount = 0;
  std::int32_t m_racerCount = 0;
  std::int32_t m_shownMask = 128;
  std::map<std::int32_t, float> m_listed;
  float m_displayTimer = 0.0f;
  bool m_shown = false;
  std::int32_t m_shownRound = -1;
  std::int32_t m_playerId = -1;
  std::int32_t m_playerLeg = -1;
  N_SplitBoardView* m_board = &RacePagesSplitBoard();
};
