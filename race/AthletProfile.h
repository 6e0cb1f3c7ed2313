#pragma once
// One athlete of "data\profiles\playerprofiles.data": physical and technical
// attributes, nation, body size, name and gear. The athlete manager owns the records;
// racers, menus and figures borrow them. The figure fields (the "Mesh" path, the
// figure instance and mesh indices, the gear shader handles) are the skier figures'
// record, N_FigureAthlete, which the figure factory reads and fills. Memory only: the
// career rosters store the nine attributes field by field.
#include "scene/FigureRoster.h"

#include <array>
#include <cstdint>
#include <string>

struct N_AthletProfile : N_FigureAthlete {
  static constexpr std::size_t kMaxText = 127;  ///< characters of a text field

  float MaxPower = 50.0f;       ///< attribute, 0-100
  float OptPulse = 50.0f;
  float MaxCondition = 50.0f;
  float Concetration = 50.0f;   ///< spelled as its profile key
  float Coolness = 50.0f;
  float Gameness = 50.0f;
  float ShootTechnic = 50.0f;
  float RunTechnic = 50.0f;
  float CurveTechnic = 50.0f;
  float IQ = 0.5f;              ///< 0-1; not one of the nine attributes
  std::int32_t Sex = 0;         ///< 0 male, 1 female
  std::string Nationality = "SVK";  ///< three-letter nation code in practice
  float Height = 180.0f;
  float Weight = 80.0f;         ///< kg; sets the racer's mass
  std::string AthletName = "Ruvo 'default' Plimska";
  std::string StartNum = "default cislo";
  std::string Dress = "default dress";    ///< shader names of the gear (its handles are the figure's)
  std::string Sticks = "default sticks";
  std::string Gun = "default gun";
  std::string Ski = "default ski";
  std::int32_t StartNumShader = 0;  ///< 0: the bibs come from the manager's table

  /// The nine attributes MaxPower .. CurveTechnic, in roster-file order.
  static constexpr std::array<float N_AthletProfile::*, 9> kAttributes = {
      &N_AthletProfile::MaxPower,     &N_AthletProfile::OptPulse,   &N_AthletProfile::MaxCondition,
      &N_AthletProfile::Concetration, &N_AthletProfile::Coolness,   &N_AthletProfile::Gameness,
      &N_AthletProfile::ShootTechnic, &N_AthletProfile::RunTechnic, &N_AthletProfile::CurveTechnic};

  /// Copies the nine attributes of another record.
  void CopyAttributes(const N_AthletProfile& from) {
    for (float N_AthletProfile::*a : kAttributes) this->*a = from.*a;
  }
};
