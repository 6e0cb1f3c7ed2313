#include "frontend/AthleteField.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Random.h"
#include "frontend/FrontendUtil.h"
#include "frontend/RaceTables.h"
#include "gui/GuiTable.h"
#include "platform/win32/Files.h"
#include "race/AthletMng.h"
#include "race/World.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

const N_AthletProfile* AthleteOfSex(const N_AthletMng& athletes, std::int32_t sex, std::int64_t index) {
  if (index < 0) return nullptr;
  const auto at = static_cast<std::size_t>(index);
  return sex == 0 ? athletes.GetMale(at) : athletes.GetFemale(at);
}

std::string AthleteRowText(const N_AthletProfile& a) {
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, " %.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f", a.OptPulse, a.MaxCondition,
                a.MaxPower, a.Concetration, a.Gameness, a.Coolness, a.ShootTechnic, a.RunTechnic, a.CurveTechnic);
  return frontend::QuotedCell(a.AthletName) + " " + a.Nationality + numbers;
}

void FillAthleteList(const char* tableName, std::int32_t sex) {
  auto* table = frontend::GetElementOf<N_GuiTable>(tableName);
  if (!table) return;
  table->Clear();
  if (!g_world) return;
  const N_AthletMng& athletes = g_world->AthletMng();
  const std::size_t count = sex == 0 ? athletes.GetMaleCount() : athletes.GetFemaleCount();
  for (std::size_t i = 0; i < count; ++i) {
    if (const N_AthletProfile* a = AthleteOfSex(athletes, sex, static_cast<std::int64_t>(i))) {
      table->AddRow(AthleteRowText(*a), false);
    }
  }
}

void PickRandomAthletes(std::int32_t first, std::int32_t last, std::int32_t count, std::int32_t excluded,
                        std::vector<std::int32_t>& out) {
  std::vector<std::int32_t> pool;
  for (std::int64_t v = first; v <= last; ++v) {
    if (v != excluded) pool.push_back(static_cast<std::int32_t>(v));
  }
  for (std::int32_t drawn = 0; drawn < count && !pool.empty(); ++drawn) {
    const float n = static_cast<float>(pool.size());
    // Ties to even under the default rounding mode; a draw can only reach n - 1, the
    // clamp guards the cast all the same.
    const double r = std::nearbyint(RandomRange(0.0f, n - 1.0f));
    const std::size_t at = std::min(pool.size() - 1, static_cast<std::size_t>(std::max(0.0, r)));
    out.push_back(pool[at]);
    pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(at));
  }
}

void BuildRelayTeams(const N_AthletMng& athletes, std::int32_t sex, const std::string& playerNation,
                     std::vector<std::uint32_t>& out) {
  const std::size_t listSize = sex == 0 ? athletes.GetMaleCount() : athletes.GetFemaleCount();
  const std::int32_t playerRow = FindNationRow(playerNation);
  // Per candidate nation, its athletes in list order.
  std::vector<std::vector<std::uint32_t>> candidates;
  for (std::int32_t row = 0; row < static_cast<std::int32_t>(kNationCodes.size()); ++row) {
    if (row == playerRow) continue;
    std::vector<std::uint32_t> members;
    for (std::size_t i = 0; i < listSize; ++i) {
      const N_AthletProfile* a = AthleteOfSex(athletes, sex, static_cast<std::int64_t>(i));
      if (a && platform::EqualsNoCase(a->Nationality, kNationCodes[static_cast<std::size_t>(row)])) {
        members.push_back(static_cast<std::uint32_t>(i));
      }
    }
    if (members.size() >= 4) candidates.push_back(std::move(members));
  }
  if (candidates.size() < 3) {
    if (g_errorLog) {
      g_errorLog->ReportBox(0, "There must be at least 4 nationalities with at least 4 athletsin playerprofiles.data to "
                               "play relay\n");
    }
    return;
  }
  std::vector<std::int32_t> chosen;
  PickRandomAthletes(0, static_cast<std::int32_t>(candidates.size()) - 1, 3, -1, chosen);
  for (const std::int32_t nation : chosen) {
    const auto& members = candidates[static_cast<std::size_t>(nation)];
    std::vector<std::int32_t> picks;
    PickRandomAthletes(0, static_cast<std::int32_t>(members.size()) - 1, 4, -1, picks);
    for (const std::int32_t p : picks) out.push_back(members[static_cast<std::size_t>(p)]);
  }
}

void BuildRelayTeams(std::int32_t sex, const std::string& playerNation, std::vector<std::uint32_t>& out) {
  if (g_world) BuildRelayTeams(g_world->AthletMng(), sex, playerNation, out);
}
