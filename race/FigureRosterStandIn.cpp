#include "race/FigureRosterStandIn.h"

#include "core/FormatString.h"
#include "render/ShaderMng.h"

#include <array>

namespace {

struct BuiltInAthlete {
  const char* mesh;
  const char* dress;
  const char* sticks;
  const char* gun;
  const char* ski;
};

constexpr std::array kBuiltInAthletes{
    BuiltInAthlete{"data\\anim\\ref_meshe\\ref_model1.mesh", "textures\\lyziari\\suit_1", "textures\\lyziari\\sticks_1",
                   "textures\\lyziari\\gun_1", "textures\\lyziari\\ski_1"},
    BuiltInAthlete{"data\\anim\\ref_meshe\\ref_model2.mesh", "textures\\lyziari\\suit_2", "textures\\lyziari\\sticks_2",
                   "textures\\lyziari\\gun_2", "textures\\lyziari\\ski_2"},
    BuiltInAthlete{"data\\anim\\ref_meshe\\ref_model3.mesh", "textures\\lyziari\\suit_3", "textures\\lyziari\\sticks_1",
                   "textures\\lyziari\\gun_1", "textures\\lyziari\\ski_3"},
    BuiltInAthlete{"data\\anim\\ref_meshe\\ref_model_F1.mesh", "textures\\lyziari\\suit_4",
                   "textures\\lyziari\\sticks_2", "textures\\lyziari\\gun_2", "textures\\lyziari\\ski_1"},
    BuiltInAthlete{"data\\anim\\ref_meshe\\ref_model_F2.mesh", "textures\\lyziari\\suit_5",
                   "textures\\lyziari\\sticks_1", "textures\\lyziari\\gun_1", "textures\\lyziari\\ski_2"},
    BuiltInAthlete{"data\\anim\\ref_meshe\\ref_model_F3.mesh", "textures\\lyziari\\suit_6",
                   "textures\\lyziari\\sticks_2", "textures\\lyziari\\gun_2", "textures\\lyziari\\ski_3"},
};

/// Gear and bibs are drawn as 2D materials of their textures.
constexpr std::uint32_t kGearShaderType = 3;

}  // namespace

N_FigureRosterStandIn::N_FigureRosterStandIn() : m_athletes(kBuiltInAthletes.size()) {
  for (std::size_t i = 0; i < kBuiltInAthletes.size(); ++i) {
    m_athletes[i].mesh = kBuiltInAthletes[i].mesh;
    m_roster.athletes.push_back(&m_athletes[i]);
  }
}

N_FigureRosterStandIn::~N_FigureRosterStandIn() { ReleaseTextures(); }

void N_FigureRosterStandIn::LoadTextures(N_ShaderMng& shaders) {
  ReleaseTextures();
  m_shaders = &shaders;
  for (std::size_t i = 0; i < kBuiltInAthletes.size(); ++i) {
    const BuiltInAthlete& gear = kBuiltInAthletes[i];
    N_FigureAthlete& athlete = m_athletes[i];
    athlete.dressShader = shaders.AddShader(gear.dress, 0, kGearShaderType);
    athlete.gunShader = shaders.AddShader(gear.gun, 0, kGearShaderType);
    athlete.skiShader = shaders.AddShader(gear.ski, 0, kGearShaderType);
    athlete.sticksShader = shaders.AddShader(gear.sticks, 0, kGearShaderType);
  }
  for (int number = 1; number <= N_FigureRoster::kBibCount; ++number) {
    const std::string name = FormatString("textures\\lyziari\\startnum%02d", number);
    m_roster.bibShaders[static_cast<std::size_t>(number - 1)] = shaders.AddShader(name.c_str(), 0, kGearShaderType);
  }
}

void N_FigureRosterStandIn::ReleaseTextures() {
  if (!m_shaders) return;
  for (N_FigureAthlete& athlete : m_athletes) {
    for (std::int32_t* shader : {&athlete.dressShader, &athlete.gunShader, &athlete.skiShader, &athlete.sticksShader}) {
      m_shaders->ReleaseShader(*shader);
      *shader = 0;
    }
  }
  for (std::int32_t& bib : m_roster.bibShaders) {
    m_shaders->ReleaseShader(bib);
    bib = 0;
  }
  m_shaders = nullptr;
}
