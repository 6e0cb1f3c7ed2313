#include "frontend/career/CareerProfilePage.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "frontend/FrontendUtil.h"
#include "frontend/HighScoreRows.h"
#include "frontend/MessageBox.h"
#include "frontend/career/CareerAthleteView.h"
#include "frontend/career/CareerAttributeView.h"
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerSeason.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerWeekHeader.h"
#include "gui/GuiElement.h"
#include "gui/GuiModel.h"
#include "gui/GuiScrollBar.h"
#include "platform/win32/Files.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/FileProblems.h"
#include "race/World.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/TextureMng.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace career {
namespace {

constexpr std::string_view kSpecialName = "pelimora";
constexpr std::int32_t kSpecialAccount = 100000;
constexpr const char* kSpecialDressFile = "data\\textures\\lyziari\\dress00.dds";
constexpr const char* kSpecialDressTexture = "textures\\lyziari\\dress00";
// Below this sum of the nine bars not all 660 points are spent.
constexpr float kAllPointsSpent = 659.999f;
// The figure's actions while the pointer rests on it and after it leaves.
constexpr std::int32_t kHoverAction = 40;
constexpr std::int32_t kIdleAction = 19;

void Log(const std::string& line) {
  if (g_log) g_log->Print("%s\n", line.c_str());
}

// The elements the set-up look shows and the view look hides.
constexpr const char* kSetUpElements[] = {"t88",       "Profile1",   "AthletPrev", "AthletNext",
                                          "Reset1",    "Continue1",  "TotalLbl1",  "TotalLbl2",
                                          "TotalLbl3", "PointsLbl1", "PointsLbl2", "PointsLbl3"};

// The bars whose values become the six ceilings and the three techniques.
struct BarCopy {
  const char* bar;
  float N_CareerProfile::*field;
};
constexpr BarCopy kCeilingBars[] = {
    {"HearthAtt1", &N_CareerProfile::maxHearth},         {"ConditionAtt1", &N_CareerProfile::maxCondition},
    {"PowerAtt1", &N_CareerProfile::maxPower},           {"ConcentrationAtt1", &N_CareerProfile::maxConcentration},
    {"FightGhostAtt1", &N_CareerProfile::maxFightGhost}, {"CoolnessAtt1", &N_CareerProfile::maxCoolness},
};
constexpr BarCopy kTechniqueBars[] = {
    {"RunTechAtt1", &N_CareerProfile::runTech},
    {"ShootTechAtt1", &N_CareerProfile::shootTech},
    {"HandlTechAtt1", &N_CareerProfile::handlTech},
};
// Each body attribute drawn between 40 and its ceiling, in this order.
constexpr std::pair<float N_CareerProfile::*, float N_CareerProfile::*> kBodyAttributes[] = {
    {&N_CareerProfile::hearth, &N_CareerProfile::maxHearth},
    {&N_CareerProfile::condition, &N_CareerProfile::maxCondition},
    {&N_CareerProfile::power, &N_CareerProfile::maxPower},
    {&N_CareerProfile::concentration, &N_CareerProfile::maxConcentration},
    {&N_CareerProfile::fightGhost, &N_CareerProfile::maxFightGhost},
    {&N_CareerProfile::coolness, &N_CareerProfile::maxCoolness},
};

float BarValue(const char* name) {
  auto* bar = frontend::GetElementOf<N_GuiScrollBar>(name);
  return bar ? static_cast<float>(bar->GetValue()) : 0.0f;
}

void CopyText(char* to, std::size_t bytes, const std::string& text) {
  std::memset(to, 0, bytes);
  std::memcpy(to, text.data(), std::min(text.size(), bytes - 1));
}

N_AthletMng* Athletes() { return g_world ? &g_world->AthletMng() : nullptr; }

/// The athlete part, the attribute bars and the name from the current profile.
void RefreshProfilePage() {
  const N_CareerProfile* profile = Profile();
  if (!profile) return;
  ShowCareerAthlete(profile->sex, profile->athleteIndex);
  ShowCareerAttributePoints();
  frontend::SetCaption("PlayerName5", high_scores::FieldText(profile->name, sizeof profile->name));
}

/// A new current profile loaded from the slot (the slot selector's, or 0 without one).
void CreateProfileForSlot() {
  const std::int32_t slot = std::max(frontend::SelectedItem("Profile1"), 0);
  N_CareerProfile& profile = NewProfile();
  LoadCareerProfile(profile, slot);
}

bool SetUpMode() {
  const N_GuiElement* slots = frontend::GetElement("Profile1");
  return slots && slots->IsVisible();
}

/// The page's choices, read before any click acts on them.
struct PageState {
  std::int32_t athlete = 0;
  std::int32_t sex = 0;
  std::int32_t difficulty = 0;
  std::string name;
  std::string nation;
};

PageState ReadPage() {
  PageState state;
  if (auto* model = frontend::GetElementOf<N_GuiModel>("Model7")) state.athlete = model->GetAthlete();
  state.sex = std::max(frontend::SelectedItem("Sex11"), 0);
  state.difficulty = std::max(frontend::SelectedItem("Difficulty6"), 0);
  if (const N_GuiElement* edit = frontend::GetElement("PlayerName5")) state.name = edit->GetCaption();
  if (const N_GuiElement* flag = frontend::GetElement("Natn3")) state.nation = flag->GetShaderName();
  return state;
}

std::int32_t AthleteCount(std::int32_t sex) {
  const auto sizes = CareerRosterSizes();
  return sizes ? static_cast<std::int32_t>(sizes->OfSex(sex)) : 0;
}

void TakePageChoices(N_CareerProfile& profile, const PageState& page) {
  profile.sex = page.sex;
  profile.athleteIndex = page.athlete;
  profile.difficulty = page.difficulty;
  CopyText(profile.name, sizeof profile.name, page.name);
  CopyText(profile.nation, sizeof profile.nation, page.nation);
  if (IsSpecialName(page.name)) profile.account = kSpecialAccount;
  for (const BarCopy& copy : kCeilingBars) profile.*copy.field = BarValue(copy.bar);
  for (const auto& [value, ceiling] : kBodyAttributes) profile.*value = RandomRange(40.0f, profile.*ceiling);
  for (const BarCopy& copy : kTechniqueBars) profile.*copy.field = BarValue(copy.bar);
}

float SpentPoints(const N_CareerProfile& profile) {
  float sum = 0.0f;
  for (const BarCopy& copy : kCeilingBars) sum += profile.*copy.field;
  for (const BarCopy& copy : kTechniqueBars) sum += profile.*copy.field;
  return sum;
}

/// The career's pages after a confirmed start or continue.
void EnterCareerPage() {
  frontend::HidePageNow("CareerProfile");
  frontend::HidePageNow("CareerAttributes");
  frontend::ShowPageNow("CareerHS");
  frontend::ShowPageNow("Career");
  RefreshCareerWeekHeader();
  ResetWeekdaySelection();
}

/// Whether the slot's files may be played and changed; a refused slot is told again.
bool SlotUsable(const N_CareerProfile& profile) {
  if (RefusedSlot() != profile.number) return true;
  ReportFileProblem(RefusedSlotProblem());
  return false;
}

void ContinueCareer(const PageState& page) {
  N_CareerProfile* profile = Profile();
  if (!profile || !SlotUsable(*profile)) return;
  if (profile->finished) {
    ShowMessageOK(frontend::Text("#str319"), "OKMsgClick");
    return;
  }
  if (N_AthletMng* athletes = Athletes()) {
    // Each attempt starts from the file values, whatever an earlier one randomised.
    athletes->RestoreDefaults();
    std::string why;
    const N_AthletMng::RosterLoad roster = athletes->LoadRoster(profile->number, &why);
    if (roster == N_AthletMng::RosterLoad::Unreadable) {
      // A roster that cannot be read is neither replaced nor played without.
      ReportFileProblem(file_problem::Unreadable(N_AthletMng::RosterFileName(profile->number), why,
                                                 "the career is left as it is."));
      return;
    }
    if (roster == N_AthletMng::RosterLoad::Missing && profile->started && g_log) {
      g_log->Print("!!! %s, the roster of a started career, is missing: its rivals start anew\n",
                   N_AthletMng::RosterFileName(profile->number).c_str());
    }
    if (roster != N_AthletMng::RosterLoad::Loaded) RandomizeRivals(*profile, *athletes);
  }
  SayWhenTablesMissing(*profile);
  if (auto* hub = frontend::FindPage("Career") ? frontend::GetElementOf<N_GuiModel>("Model8") : nullptr) {
    hub->SetAthlete(page.athlete);
    hub->SetSex(RosterSex(page.sex));
  }
  const bool wasStarted = profile->started != 0;
  if (!wasStarted) TakePageChoices(*profile, page);
  HandAthleteToRoster(*profile);
  if (!wasStarted) {
    if (SpentPoints(*profile) < kAllPointsSpent) {
      ShowMessageYesNo(frontend::Text("#str350"), "cbUnusedPoints");
      return;
    }
    StartNewCareer();
    return;
  }
  EnterCareerPage();
}

void ResetAndSave() {
  N_CareerProfile* profile = Profile();
  if (!profile || !SlotUsable(*profile)) return;
  ResetCareerProfile(*profile);
  SaveCareerProfile(*profile);
  RefreshProfilePage();
}

void LeaveProfilePage() {
  frontend::HidePageNow("CareerProfile");
  frontend::HidePageNow("CareerAttributes");
  const N_GuiElement* setUp = frontend::GetElement("t88");
  if (setUp && setUp->IsVisible()) {
    // A set-up that never started leaves the athletes as the files have them.
    if (N_CareerProfile* profile = Profile(); profile && !profile->started) {
      if (N_AthletMng* athletes = Athletes()) athletes->RestoreDefaults();
    }
    DeleteProfile();
    frontend::ShowPageNow("Background");
    frontend::ShowPageNow("SinglePlayer");
  } else {
    frontend::ShowPageNow("Career");
  }
  RestoreProfileSetUpLook();
}

void PlayOnHubFigure(const N_GuiElement* element, std::int32_t action) {
  if (!element || element->GetName() != "Model8") return;
  if (!frontend::CheckType(*element, N_GuiModel::kTypeName)) return;
  static_cast<N_GuiModel*>(const_cast<N_GuiElement*>(element))->SetAnimation(action);
}

void PutOnSpecialDress() {
  std::FILE* file = std::fopen(platform::ResolvePath(kSpecialDressFile).c_str(), "rb");
  if (!file) {
    Log(FormatString("Career: %s not found, the dresses stay", kSpecialDressFile));
    return;
  }
  std::fclose(file);
  N_TextureMng* textures = g_world ? g_world->TextureMng() : nullptr;
  if (!textures) return;
  TexInfo* dress = textures->AddTexture(kSpecialDressTexture, 0, 0);
  textures->PurgeTextures();
  if (!dress) return;
  const N_AthletMng& athletes = g_world->AthletMng();
  for (std::size_t i = 0; i < athletes.GetFemaleCount(); ++i) {
    const N_AthletProfile* athlete = athletes.GetBySex(1, i);
    N_Shader* shader = athlete ? g_world->ShaderMng().GetShader(athlete->DressShader) : nullptr;
    N_ShaderStage* stage = shader ? shader->Stage(0) : nullptr;
    if (!stage || stage->textures.empty()) continue;  // nothing to dress
    stage->textures[0] = dress;
  }
}

}  // namespace

bool IsSpecialName(std::string_view name) {
  return name.size() == kSpecialName.size() &&
         std::equal(name.begin(), name.end(), kSpecialName.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

void ApplySpecialName() {
  N_CareerProfile* profile = Profile();
  if (!profile) return;
  if (profile->sex == 1) PutOnSpecialDress();
  for (float N_CareerProfile::*field :
       {&N_CareerProfile::maxHearth, &N_CareerProfile::maxCondition, &N_CareerProfile::maxPower,
        &N_CareerProfile::maxConcentration, &N_CareerProfile::maxFightGhost, &N_CareerProfile::maxCoolness,
        &N_CareerProfile::hearth, &N_CareerProfile::condition, &N_CareerProfile::power,
        &N_CareerProfile::concentration, &N_CareerProfile::fightGhost, &N_CareerProfile::coolness,
        &N_CareerProfile::runTech, &N_CareerProfile::shootTech, &N_CareerProfile::handlTech,
        &N_CareerProfile::freshness}) {
    profile->*field = 100.0f;
  }
}

void RestoreProfileSetUpLook() {
  frontend::SetCaption("Caption23", frontend::Text("#str200"));
  for (const char* name : kSetUpElements)
    if (N_GuiElement* element = frontend::GetElement(name)) element->Show();
}

void ShowProfileViewLook() {
  frontend::SetCaption("Caption23", frontend::Text("#str229"));
  for (const char* name : kSetUpElements)
    if (N_GuiElement* element = frontend::GetElement(name)) element->Hide();
}

void StartNewCareer() {
  N_CareerProfile* profile = Profile();
  if (!profile) return;
  profile->started = 1;
  StartCareerSeason();
  StartCareerWeek();
  SaveCareerProfile(*profile);
  EnterCareerPage();
}

}  // namespace career

extern "C" void CareerProfileShow(N_GuiPage*) {
  // A page without the slot selector shown before any profile loads one all the same.
  if (career::SetUpMode() || !career::Profile()) career::CreateProfileForSlot();
  const N_CareerProfile* profile = career::Profile();
  if (!profile) return;
  career::ShowCareerAthlete(profile->sex, profile->athleteIndex);
  frontend::SetCaption("PlayerName5", high_scores::FieldText(profile->name, sizeof profile->name));
}

extern "C" void CareerProfileClick(N_GuiElement* element) {
  if (!element) return;
  const career::PageState page = career::ReadPage();
  const std::string& name = element->GetName();
  N_CareerProfile* profile = career::Profile();
  if (name == "Back22") {
    career::LeaveProfilePage();
  } else if (name == "Continue1") {
    career::ContinueCareer(page);
  } else if (name == "Profile1") {
    if (!profile) profile = &career::NewProfile();
    career::LoadCareerProfile(*profile, std::max(frontend::SelectedItem("Profile1"), 0));
    career::RefreshProfilePage();
  } else if (name == "Sex11") {
    career::ShowCareerAthlete(page.sex, 0);
  } else if (name == "AthletPrev" || name == "AthletNext") {
    const std::int32_t count = career::AthleteCount(page.sex);
    if (count <= 0) return;
    std::int32_t index = page.athlete + (name == "AthletNext" ? 1 : -1);
    if (index < 0) index = count - 1;
    if (index >= count) index = 0;
    career::ShowCareerAthlete(page.sex, index);
  } else if (name == "Reset1") {
    if (!profile) return;
    if (profile->started) {
      ShowMessageYesNo(frontend::Text("#str318"), "cbResetProfile");
      return;
    }
    career::ResetAndSave();
  }
}

extern "C" void cbResetProfile(N_GuiElement* element) {
  if (AnswerYesNo(element)) career::ResetAndSave();
}

extern "C" void CareerEnter(N_GuiElement* element) { career::PlayOnHubFigure(element, career::kHoverAction); }

extern "C" void CareerExit(N_GuiElement* element) { career::PlayOnHubFigure(element, career::kIdleAction); }

extern "C" void cbUnusedPoints(N_GuiElement* element) {
  if (AnswerYesNo(element)) career::StartNewCareer();
}
