#include "race/ai/SplitTable.h"

#include "race/AthletProfile.h"
#include "race/Racer.h"
#include "race/SplitBoard.h"

#include <algorithm>
#include <string>

namespace {

constexpr float kDisplaySeconds = 10.0f;
constexpr std::int32_t kRelayLegs = 4;

class PagesBoard final : public N_SplitBoardView {
 public:
  void ShowIndividual() override { ShowSplitBoardIndividual(); }
  void ShowRelay() override { ShowSplitBoardRelay(); }
  void Fill(const N_SplitBoardRow* row, bool isPlayer) override { FillSplitTimeTable(row, isPlayer); }
  void Close() override { CloseSplitTimes(); }
};

/// Copies the text into the field, cut to leave its terminating zero.
void CopyText(char (&field)[N_SplitBoardRow::kTextSize], const std::string& text) {
  const std::size_t n = std::min(text.size(), std::size_t(N_SplitBoardRow::kTextSize - 1));
  std::copy_n(text.data(), n, field);
  field[n] = '\0';
}

}  // namespace

N_SplitBoardView& RacePagesSplitBoard() {
  static PagesBoard board;
  return board;
}

int N_SplitRecord::IndexOf(std::int32_t mask) {
  for (int i = 0; i < kCheckpoints; ++i) {
    if (mask == (1 << i)) return i;
  }
  return -1;
}

float N_SplitRecord::Get(std::int32_t mask) const {
  const int i = IndexOf(mask);
  return i < 0 ? -1.0f : Splits[std::size_t(i)];
}

void N_SplitRecord::Set(std::int32_t mask, float time) {
  const int i = IndexOf(mask);
  if (i >= 0 && Splits[std::size_t(i)] < 0.0f) Splits[std::size_t(i)] = time;
}

bool N_SplitTable::Create(std::int32_t rounds, std::int32_t racers) {
  m_rowCount = std::max(rounds + 1, 0);
  m_racerCount = std::max(racers, 0);
  m_rows.assign(std::size_t(m_rowCount), std::vector<N_SplitRecord>(std::size_t(m_racerCount)));
  return true;
}

void N_SplitTable::AddRacers(N_Racer* const* racers, std::int32_t count) {
  for (std::int32_t i = 0; racers && i < count; ++i) {
    const N_Racer* racer = racers[i];
    if (!racer || m_entries.count(racer->StartNumber)) continue;
    auto entry = std::make_unique<N_SplitBoardRow>();
    if (racer->Athlete) {
      CopyText(entry->Name, racer->Athlete->AthletName);
      CopyText(entry->Nation, racer->Athlete->Nationality);
    }
    entry->RacerId = racer->StartNumber;
    m_entries.emplace(racer->StartNumber, std::move(entry));
  }
}

N_SplitRecord* N_SplitTable::Record(std::int32_t round, std::int32_t racerId) {
  if (round < 0 || round >= m_rowCount || racerId < 1 || racerId > m_racerCount) return nullptr;
  return &m_rows[std::size_t(round)][std::size_t(racerId - 1)];
}

const N_SplitRecord* N_SplitTable::Record(std::int32_t round, std::int32_t racerId) const {
  return const_cast<N_SplitTable*>(this)->Record(round, racerId);
}

N_SplitBoardRow* N_SplitTable::Entry(std::int32_t racerId) {
  const auto it = m_entries.find(racerId);
  return it == m_entries.end() ? nullptr : it->second.get();
}

void N_SplitTable::RecordSplit(std::int32_t round, std::int32_t racerId, float time, std::int32_t mask,
                               bool isPlayer) {
  if (isPlayer) m_playerId = racerId;
  N_SplitRecord* record = Record(round, racerId);
  if (!record) return;
  record->Set(mask, time);
  if (m_shownRound != round || m_shownMask != mask || m_listed.count(racerId)) return;
  m_listed[racerId] = time;
  if (N_SplitBoardRow* entry = Entry(racerId)) {
    entry->Time = time;
    entry->Round = round;
    m_board->Fill(entry, isPlayer);
  }
}

void N_SplitTable::Open() {
  m_shown = true;
  m_displayTimer = kDisplaySeconds;
  m_listed.clear();
}

void N_SplitTable::ShowStandings(std::int32_t round, std::int32_t /*racerId*/, std::int32_t mask) {
  if (m_shown) return;
  Open();
  m_shownRound = round;
  m_shownMask = mask;
  m_board->ShowIndividual();
  for (std::int32_t k = 1; k <= m_racerCount; ++k) {
    const float t = GetSplit(round, k, mask);
    N_SplitBoardRow* entry = Entry(k);
    if (!(t > 0.0f) || !entry) continue;
    entry->Time = t;
    m_listed[k] = t;
    m_board->Fill(entry, k == m_playerId);
  }
}

void N_SplitTable::RecordRelaySplit(std::int32_t round, std::int32_t racerId, float time, std::int32_t mask,
                                    bool isPlayer) {
  N_SplitRecord* record = Record(round, racerId);
  if (!record) return;
  record->Set(mask, time);
  if (isPlayer) {
    m_playerId = racerId;
    m_playerLeg = racerId % kRelayLegs;
    m_shownRound = round;
    m_shownMask = mask;
  }
  if (m_listed.count(racerId)) return;
  m_listed[racerId] = time;
  if (N_SplitBoardRow* entry = Entry(racerId)) {
    entry->Time = time;
    entry->Round = round;
    m_board->Fill(entry, isPlayer);
  }
}

void N_SplitTable::ShowRelayStandings() {
  if (m_shown) return;
  Open();
  m_board->ShowRelay();
  for (std::int32_t k = 1; k <= m_racerCount; ++k) {
    const float t = GetSplit(m_shownRound, k, m_shownMask);
    N_SplitBoardRow* entry = Entry(k);
    if (!(t > 0.0f) || !entry || entry->Leg != m_playerLeg) continue;
    entry->Time = t;
    m_listed[k] = t;
    m_board->Fill(entry, k == m_playerId);
  }
}

void N_SplitTable::SetRoundTime(std::int32_t round, std::int32_t racerId, float time) {
  N_SplitRecord* record = Record(round, racerId);
  if (record && record->RoundTime < 0.0f) record->RoundTime = time;
}

float N_SplitTable::GetRoundTime(std::int32_t round, std::int32_t racerId) const {
  const N_SplitRecord* record = Record(round, racerId);
  return record ? record->RoundTime : -1.0f;
}

float N_SplitTable::GetSplit(std::int32_t round, std::int32_t racerId, std::int32_t mask) const {
  const N_SplitRecord* record = Record(round, racerId);
  return record ? record->Get(mask) : -1.0f;
}

void N_SplitTable::GetRank(std::int32_t racerId, std::int32_t& rank) const {
  if (m_shownRound < 0) {
    rank = racerId;
    return;
  }
  const float own = GetSplit(m_shownRound, racerId, m_shownMask);
  rank = 1;
  for (std::int32_t k = 1; k <= m_racerCount; ++k) {
    const float t = GetSplit(m_shownRound, k, m_shownMask);
    if (t > 0.0f && t < own) ++rank;
  }
}

std::int32_t N_SplitTable::CountRelayRank(std::int32_t racerId) const {
  // Until the player passes a checkpoint a team is placed by its start number: the
  // relay makes its racers team by team, four each.
  if (m_shownRound < 0 || m_entries.find(racerId) == m_entries.end()) {
    return racerId > 0 ? (racerId - 1) / kRelayLegs + 1 : 1;
  }
  // By the times at the checkpoint on display, not by the entries' last drawn ones: a
  // racer whose entry still holds an earlier checkpoint's time has not passed this one.
  const float ownTime = GetSplit(m_shownRound, racerId, m_shownMask);
  std::int32_t rank = 1;
  for (const auto& [id, entry] : m_entries) {
    const float t = GetSplit(m_shownRound, id, m_shownMask);
    if (entry->Leg == m_playerLeg && t > 0.0f && t < ownTime) ++rank;
  }
  return rank;
}

void N_SplitTable::Update(float dt) {
  m_displayTimer -= dt;
  if (m_shown && m_displayTimer < 0.0f) {
    m_shown = false;
    m_board->Close();
    m_listed.clear();
  }
}
