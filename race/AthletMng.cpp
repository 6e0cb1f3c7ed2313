#include "race/AthletMng.h"

#include "core/ErrorLog.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "render/ShaderMng.h"

#include <cstdio>
#include <cstdlib>

namespace {

/// Gear shaders are added with type 3: a name without a script block then gets the
/// default material that draws its texture without a lightmap.
constexpr std::uint32_t kGearShaderType = 3;

/// The gear shaders of a record, in the order they are added.
constexpr std::array<int N_AthletProfile::*, 4> kGearShaders = {&N_AthletProfile::DressShader, &N_AthletProfile::GunShader,
                                                      &N_AthletProfile::SkiShader, &N_AthletProfile::SticksShader};

}  // namespace

N_AthletMng::N_AthletMng(N_ShaderMng& shaderMng) : m_shaderMng(shaderMng) {}

N_AthletMng::~N_AthletMng() { ReleaseTextures(); }

void N_AthletMng::SplitBySex() {
  m_males.clear();
  m_females.clear();
  m_defaults.clear();
  for (const auto& athlete : m_athletes) {
    if (athlete->Sex == 0) {
      m_males.push_back(athlete.get());
    } else if (athlete->Sex == 1) {
      m_females.push_back(athlete.get());
    } else if (g_errorLog) {
      g_errorLog->ReportBox(0, "N_AthletManager: hermafrodit detected!");
    }
    N_AthletProfile copy;
    copy.CopyAttributes(*athlete);
    copy.AthletName = athlete->AthletName;  // the career's own athlete takes it over
    m_defaults.push_back(copy);
  }
  m_holdsFileValues = true;
}

void N_AthletMng::LoadTextures() {
  if (m_athletes.empty()) {
    const char* text = "File missing: \"data\\profiles\\playerprofiles.data\" ?\n";
    if (g_errorLog) g_errorLog->Critical(0, "%s", text);
    std::fputs(text, stderr);  // without a reporter the program still ends
    std::exit(-1);
  }
  if (m_texturesLoaded) ReleaseTextures();  // a second call replaces, never leaks references
  auto add = [this](const std::string& name) { return m_shaderMng.AddShader(name.c_str(), 0, kGearShaderType); };
  for (const auto& athlete : m_athletes) {
    athlete->DressShader = add(athlete->Dress);
    athlete->GunShader = add(athlete->Gun);
    athlete->SkiShader = add(athlete->Ski);
    athlete->StartNumShader = 0;
    athlete->SticksShader = add(athlete->Sticks);
  }
  for (int i = 0; i < kBibCount; ++i) m_bibs[std::size_t(i)] = add(FormatString("textures\\lyziari\\startnum%02d", i + 1));
  m_ghost.DressShader = add("duch_dress");
  m_ghost.GunShader = add("duch_gun");
  m_ghost.SkiShader = add("duch_ski");
  m_ghost.StartNumShader = 0;
  m_ghost.SticksShader = add("duch_sticks");
  m_texturesLoaded = true;
}

void N_AthletMng::ReleaseTextures() {
  if (!m_texturesLoaded) return;  // the handles' 0 is no reference of ours
  for (const auto& athlete : m_athletes) {
    for (int N_AthletProfile::*shader : kGearShaders) m_shaderMng.ReleaseShader(athlete.get()->*shader);
  }
  for (int bib : m_bibs) m_shaderMng.ReleaseShader(bib);
  for (int N_AthletProfile::*shader : kGearShaders) m_shaderMng.ReleaseShader(m_ghost.*shader);
  m_texturesLoaded = false;
}

N_AthletProfile* N_AthletMng::GetMale(std::size_t index) const {
  return index < m_males.size() ? m_males[index] : nullptr;
}

N_AthletProfile* N_AthletMng::GetFemale(std::size_t index) const {
  return index < m_females.size() ? m_females[index] : nullptr;
}

N_AthletProfile* N_AthletMng::GetBySex(int sex, std::size_t index) const {
  if (sex == 0) return GetMale(index);
  if (sex == 1) return GetFemale(index);
  return nullptr;
}

N_AthletProfile* N_AthletMng::Athlete(std::size_t index) const {
  return index < m_athletes.size() ? m_athletes[index].get() : nullptr;
}

int N_AthletMng::BibShader(int startNumber) const {
  if (startNumber < 1 || startNumber > kBibCount || !m_texturesLoaded) return -1;
  return m_bibs[std::size_t(startNumber - 1)];
}

void N_AthletMng::SetPlayerAthlete(std::size_t index, int sex, const N_AthletProfile& source) {
  N_AthletProfile* athlete = GetBySex(sex, index);
  if (!athlete) return;
  athlete->CopyAttributes(source);
  athlete->AthletName = source.AthletName;
}
