// The career profile file ("data\tables\profile1.dat") through the career's load as
// the profile page uses it (no world: the athlete checks have no lists; a file of
// another version is set aside), then the same bytes with rosters of 15 men and 10
// women. Further files of the input ("//@ NAME") go beside it in data\tables: the
// slot's journal ".career1.set" and staged files of a save cut short, which the load
// finishes first. Checked: a journal the load leaves refuses the slot, and then every
// file of the folder is as it was; whatever the profile holds,
// the loaded record lies within the ranges the career indexes with (tracks, races,
// stages, pursuit entries, schedule ids, athletes of the profile's sex), its texts end
// inside their fields, a day holds at most four items, and a saved profile loads back
// with the very bytes it saved.
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerState.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

namespace {

constexpr const char* kFile = "data\\tables\\profile1.dat";
constexpr const char* kJournal = "data/tables/.career1.set";

/// Every file below data/tables with its bytes (a folder or link without its contents).
std::map<std::string, std::string> TablesFolder() {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator("data/tables", ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec)) {
      files[it->path().string()] = "<not a file>";
      continue;
    }
    std::ifstream in(it->path(), std::ios::binary);
    files[it->path().string()] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  return files;
}

bool Within(float value, float low, float high) { return std::isfinite(value) && value >= low && value <= high; }

void CheckRanges(const N_CareerProfile& p, const career::RosterSizes* roster) {
  for (float value : {p.maxHearth, p.maxCondition, p.maxPower, p.maxConcentration, p.maxFightGhost, p.maxCoolness,
                      p.hearth, p.condition, p.power, p.concentration, p.fightGhost, p.coolness, p.runTech,
                      p.shootTech, p.handlTech})
    fuzz::Check(Within(value, 0.0f, 220.0f), "an attribute out of range");
  fuzz::Check(Within(p.freshness, 0.0f, 100.0f), "freshness out of range");
  fuzz::Check(std::memchr(p.name, 0, sizeof p.name) && std::memchr(p.nation, 0, sizeof p.nation), "an open text");
  fuzz::Check(p.number == 1, "the slot not taken from the file name");
  fuzz::Check(p.season >= 0 && p.season <= 10 && p.raceIndex >= 0 && p.raceIndex <= 9, "season or race");
  fuzz::Check(p.stage >= 0 && p.stage <= 3 && p.pursuitCount >= 0 && p.pursuitCount <= 15, "stage or pursuit count");
  for (std::int32_t track : p.trackOrder) fuzz::Check(track >= 0 && track <= 9, "a track row");
  for (std::int32_t race : p.extraRaces) fuzz::Check(race >= 0 && race <= 9, "an extra race");
  for (const auto& day : p.schedule)
    for (std::int32_t id : day) fuzz::Check(id >= -1 && id <= 11, "a schedule id");
  fuzz::Check(p.sponsorEvent >= -1 && p.sponsorEvent <= 5 && p.hotel >= -1 && p.hotel <= 2 && p.weekChoice >= -1 &&
                  p.weekChoice <= 2,
              "event, hotel or week choice");
  fuzz::Check(p.sponsorPrize >= 0 && p.sponsorPrize <= 2500 && p.carCost >= 0 && p.carCost <= 300 && p.trainCost >= 0 &&
                  p.trainCost <= 800 && p.planeCost >= 0 && p.planeCost <= 1600,
              "a prize or a price");
  fuzz::Check(p.weekChoicesBought >= 0 && p.weekChoicesBought <= 2 && p.difficulty >= 0 && p.difficulty <= 1,
              "special trainings bought or difficulty");
  for (std::int32_t i = 0; i < p.pursuitCount; ++i)
    fuzz::Check(Within(p.pursuitList[i].offset, -3600.0f, 0.0f), "a pursuit start offset");
  for (const auto& day : career::Week().days) fuzz::Check(day.size() <= 4, "a day of more than four items");
  if (!roster) return;
  const auto athletes = static_cast<std::int32_t>(roster->OfSex(p.sex));
  fuzz::Check(p.athleteIndex >= 0 && p.athleteIndex < athletes, "the player's athlete");
  for (std::int32_t athlete : p.field) fuzz::Check(athlete >= -1 && athlete < athletes, "an athlete of the field");
  for (std::int32_t i = 0; i < p.pursuitCount; ++i)
    fuzz::Check(p.pursuitList[i].athlete >= 0 && p.pursuitList[i].athlete < athletes, "a pursuit athlete");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The folder anew (a file of another version set aside with its companions goes too).
  const std::vector<fuzz::InputFile> files = fuzz::SplitFiles(input);
  fuzz::WriteFiles("data/tables", files);
  const std::string_view profileBytes = files.front().bytes;
  if (!std::filesystem::exists("data/tables/profile1.dat")) fuzz::WriteFile(kFile, profileBytes);
  fuzz::Guarded([&] {
    career::Week() = CareerWeekState{};
    career::ScheduleItems() = career::DefaultScheduleItems();
    N_CareerProfile profile;
    const auto before = TablesFolder();
    const bool refused = career::LoadCareerProfile(profile, 1) == career::SlotLoad::Refused;
    // A journal still there was refused: nothing of its set may have moved.
    if (std::filesystem::exists(kJournal)) fuzz::Check(refused && TablesFolder() == before, "a refused set changed");
    CheckRanges(profile, nullptr);

    // What was loaded saves and loads back unchanged.
    if (career::SaveCareerProfile(profile)) {
      const std::string saved = career::EncodeProfile(profile);
      N_CareerProfile again;
      career::LoadCareerProfile(again, 1);
      fuzz::Check(career::EncodeProfile(again) == saved, "a saved profile loads back changed");
    }

    const career::RosterSizes roster{15, 10};
    N_CareerProfile checked;
    if (career::LoadProfileBytes(checked, 1, profileBytes, roster, career::Week())) CheckRanges(checked, &roster);
  });
  return 0;
}
