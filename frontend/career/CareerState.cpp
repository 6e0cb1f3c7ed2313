#include "frontend/career/CareerState.h"

namespace career {
namespace {

std::unique_ptr<N_CareerProfile> g_profile;
CareerWeekState g_week;

}  // namespace

N_CareerProfile* Profile() { return g_profile.get(); }

N_CareerProfile& NewProfile() {
  g_profile = std::make_unique<N_CareerProfile>();
  return *g_profile;
}

void SetProfile(std::unique_ptr<N_CareerProfile> profile) { g_profile = std::move(profile); }
void DeleteProfile() { g_profile.reset(); }

CareerWeekState& Week() { return g_week; }

}  // namespace career
