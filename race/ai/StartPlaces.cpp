#include "race/ai/StartPlaces.h"

#include "race/ai/AiLog.h"
#include "scene/Level.h"

namespace Ai {

namespace {

/// The code of the AI errors of the start places.
constexpr int kStartPlaceError = 3;

/// Unit vector from a to b; (1, 0, 0) when they coincide.
N_Vector3 DirectionBetween(const N_Vector3& a, const N_Vector3& b) {
  N_Vector3 d = b - a;
  d.Normalize();
  return d;
}

/// The set's points when it has exactly that many, else null.
const N_Vector3* FindExactly(const N_Level& level, const char* name, std::int32_t points) {
  std::int32_t count = 0;
  const N_Vector3* first = level.FindPointSet(name, &count);
  return first && count == points ? first : nullptr;
}

void SetDefault(N_Vector3& place, N_Vector3& direction) {
  place = {};
  direction = {1.0f, 0.0f, 0.0f};
}

}  // namespace

bool N_StartPlaces::Load(const N_Level& level) {
  *this = N_StartPlaces{};
  if (!LoadPursuit(level)) return false;
  if (!LoadMassStart(level)) return false;
  if (!LoadStartPair(level, "Info_Sprint_Start", "Sprint", m_sprintStart)) return false;
  if (!LoadStartPair(level, "Info_Relay_Start", "Relay", m_relayStart)) return false;
  return LoadRelayChanges(level);
}

bool N_StartPlaces::LoadPursuit(const N_Level& level) {
  N_AiLog::Write("Ai::N_AiPath: Loading Hunting Start Point.");
  for (std::uint32_t i = 0; i < kGridPlaces; ++i) {
    const std::string name = FormatAiLine("Info_Hunting_Start%02u", i);
    if (const N_Vector3* points = FindExactly(level, name.c_str(), 2)) {
      m_pursuit[i] = points[0];
      N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading Hunting Start %s.\n", name.c_str()));
    } else {
      N_AiLog::Error(kStartPlaceError, FormatAiLine("N_AiPath: Hunting Start Point %s  undefined.\n", name.c_str()));
    }
  }
  N_AiLog::Write("Ai::N_AiPath: Loading Hunting Start Point done.\n");
  N_AiLog::Write("Ai::N_AiPath: Loading Hunting Start Tangent Point.");
  const N_Vector3* tangent = FindExactly(level, "Info_HuntingStartTan", 2);
  if (!tangent) {
    N_AiLog::Error(kStartPlaceError, "N_AiPath: Loading Hunting Start Tangent failed.\n");
    return false;
  }
  m_pursuitDirection = DirectionBetween(tangent[0], tangent[1]);
  N_AiLog::Write("Ai::N_AiPath: Loading Hunting Start Tangent Point.");
  N_AiLog::Write("Ai::N_AiPath: Loading  Start Tangent Point done.\n");
  return true;
}

bool N_StartPlaces::LoadMassStart(const N_Level& level) {
  N_AiLog::Write("Ai::N_AiPath: Loading Mass Start Point.");
  std::int32_t count = 0;
  const N_Vector3* grid = level.FindPointSet("Info_Grid_MassStart", &count);
  if (!grid) {
    N_AiLog::Write("Ai::N_AiPath: Loading Mass Start Point failed.\n");
    return false;
  }
  if (count > std::int32_t(kGridPlaces)) {
    // The grid has 15 places; the points beyond are not stored.
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Info_Grid_MassStart has %d points, the grid takes the first %u.\n",
                                count, kGridPlaces));
    count = kGridPlaces;
  }
  for (std::int32_t k = 0; k < count; ++k) m_massGrid[k] = grid[k];
  N_AiLog::Write("Ai::N_AiPath: Loading Mass Start Point done.\n");

  N_AiLog::Write("Ai::N_AiPath: Loading Mass Start Tangent Point.");
  const N_Vector3* tangent = FindExactly(level, "Info_MassStartTan", 2);
  if (!tangent) {
    N_AiLog::Error(kStartPlaceError, "N_AiPath: Loading Mass Start Tangent failed.\n");
    return false;
  }
  m_massDirection = DirectionBetween(tangent[0], tangent[1]);
  N_AiLog::Write("Ai::N_AiPath: Loading Mass Start Tangent Point done.\n");
  return true;
}

bool N_StartPlaces::LoadStartPair(const N_Level& level, const char* setName, const char* what,
                                  N_Vector3 (&pair)[2]) {
  N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading %s Start Point.", what));
  const N_Vector3* points = FindExactly(level, setName, 2);
  if (!points) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading %s Start Point failed.\n", what));
    return false;
  }
  pair[0] = points[0];
  pair[1] = points[1];
  N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading %s Start Point done.\n", what));
  return true;
}

bool N_StartPlaces::LoadRelayChanges(const N_Level& level) {
  N_AiLog::Write("Ai::N_AiPath: Loading RelayChange Start Point.");
  for (std::int32_t i = 0; i < kRelayChanges; ++i) {
    const std::string name = FormatAiLine("%s%d", "Info_Relay_StartsPoints_", i);
    const N_Vector3* p = FindExactly(level, name.c_str(), 4);
    if (!p) {
      N_AiLog::Write(FormatAiLine("Ai::N_AiPath: Loading RelayChange Start Point %d failed.\n", i));
      return false;
    }
    m_relayChanges[i] = {p[2], DirectionBetween(p[2], p[3])};
    m_relayOffsets[i] = {p[2] - p[0], p[2] - p[1]};
    N_AiLog::Write(FormatAiLine("Ai::N_AiPath: RelayChange Start Point  %d loaded.\n", i));
  }
  N_AiLog::Write("Ai::N_AiPath: Loading RelayChange Start Point done.\n");
  return true;
}

void N_StartPlaces::GetMassStartPlace(N_Vector3& place, N_Vector3& direction, std::uint32_t index) const {
  if (index >= kGridPlaces) return SetDefault(place, direction);
  place = m_massGrid[index];
  direction = m_massDirection;
}

void N_StartPlaces::GetPursuitPlace(N_Vector3& place, N_Vector3& direction, std::uint32_t index) const {
  if (index >= kGridPlaces) return SetDefault(place, direction);
  place = m_pursuit[index];
  direction = m_pursuitDirection;
}

void N_StartPlaces::GetRelayChangePlace(N_Vector3& place, N_Vector3& direction, std::int32_t index) const {
  if (index < 0 || index >= kRelayChanges) return SetDefault(place, direction);
  place = m_relayChanges[index].place;
  direction = m_relayChanges[index].direction;
}

void N_StartPlaces::GetRelayChangeOffset(N_Vector3& offset, std::int32_t index) const {
  offset = index >= 0 && index < kRelayChanges ? m_relayOffsets[index].a : N_Vector3{};
}

void N_StartPlaces::GetSprintStart(N_Vector3& place, N_Vector3& direction) const {
  place = m_sprintStart[0];
  direction = DirectionBetween(m_sprintStart[0], m_sprintStart[1]);
}

}  // namespace Ai
