#include "frontend/career/CareerEnd.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/CareerTables.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerRace.h"
#include "frontend/career/SponsorEvents.h"
#include "race/AthletMng.h"
#include "race/FinishedResults.h"
#include "race/World.h"

#include <memory>
#include <new>

using frontend::ShowPageNow;

void FinishCareer() {
  N_CareerProfile* profile = career::Profile();
  if (!profile) {
    if (g_log) g_log->Print("FinishCareer: there is no career profile\n");
    return;
  }
  // The final table, the finished profile and the roster are saved together: a career
  // is entered exactly when it is marked finished. A final table that cannot be read
  // or is damaged stays as it is (the player was told) and takes no row.
  if (std::unique_ptr<N_CareerFinalHS> table{new (std::nothrow) N_CareerFinalHS}) {
    if (TakesEntries(table->Load())) {
      table->Insert(profile->difficulty, profile->name, profile->nation, profile->account, profile->points);
      career::KeepFinalTable(std::move(table));
    }
  }
  profile->finished = 1;
  if (!career::SaveCareerProfile(*profile)) {
    // Told; the career stays open on its page, and "Finish1" may try again.
    profile->finished = 0;
    career::KeepFinalTable(nullptr);
    return;
  }
  if (g_world) g_world->AthletMng().RestoreDefaults();  // the roster went with the save
  frontend::HidePageNow("Career");
  ShowPageNow("CareerHSFinal");
}

namespace career {

namespace {

/// Without a profile the career's pages cannot show: the result is dropped and the
/// player goes back to the single-player menu.
const char* WithoutProfile(const char* handler, const final_result::Finished& finished) {
  if (g_log) g_log->Print("%s: a career result arrived without a career profile; it is dropped\n", handler);
  ReleaseFinishedResult(finished.resultHandle);
  ShowPageNow("Background");
  return "SinglePlayer";
}

/// The career's frame page, and the career page unless the career has just ended (its
/// final table is showing, and leaving it deletes the profile).
const char* BackToCareer() {
  ShowPageNow("CareerHS");
  const N_CareerProfile* profile = Profile();
  return profile && profile->finished == 0 ? "Career" : nullptr;
}

}  // namespace

const char* SponsorEventResult(const final_result::Finished& finished) {
  final_result::ViewReset();
  if (!Profile()) return WithoutProfile("SponsorEventResult", finished);
  ScoreSponsorEvent(finished.resultHandle);
  return BackToCareer();
}

const char* CareerRaceResult(const final_result::Finished& finished) {
  final_result::MenuReset();
  if (!Profile()) return WithoutProfile("CareerRaceResult", finished);
  ProcessCareerRaceResult(finished.resultHandle);
  return BackToCareer();
}

}  // namespace career
