// The athlete profiles ("data\profiles\playerprofiles.data") and a career's roster
// ("data\tables\profile1"), through the athlete manager as the world's start-up and
// the career use it: ParseProfiles, SplitBySex, LoadTextures (no athlete at all is
// its critical error, which unwinds here), then the career's Load, Save and Load again.
//
// The input is the profile file; a line "//@ profile1" in it starts the roster
// (FuzzSupport.h). Checked: the lists hold athletes of their sex, texts are cut to
// their limit, the attributes of the profiles and of a loaded roster lie in 0 to 100,
// a roster loads exactly when its size fits the athletes, and a roster the manager
// saved loads back with the very values it saved.
#include "fuzz/FuzzSupport.h"
#include "race/AthletMng.h"
#include "render/ShaderMng.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kProfiles = "data\\profiles\\playerprofiles.data";
constexpr const char* kRoster = "data\\tables\\profile1";

/// Every athlete's nine attributes lie in 0 to 100, where the races use them.
void CheckAttributes(const N_AthletMng& athletes, const char* what) {
  for (std::size_t i = 0; i < athletes.AthleteCount(); ++i) {
    for (float N_AthletProfile::*a : N_AthletProfile::kAttributes) {
      const float value = athletes.Athlete(i)->*a;
      fuzz::Check(value >= 0.0f && value <= 100.0f, what);
    }
  }
}

/// The athletes' nine attributes, bit for bit.
std::vector<std::uint32_t> Attributes(const N_AthletMng& athletes) {
  std::vector<std::uint32_t> bits;
  for (std::size_t i = 0; i < athletes.AthleteCount(); ++i) {
    for (float N_AthletProfile::*a : N_AthletProfile::kAttributes) {
      std::uint32_t word;
      std::memcpy(&word, &(athletes.Athlete(i)->*a), 4);
      bits.push_back(word);
    }
  }
  return bits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<fuzz::InputFile> files =
      fuzz::SplitFiles(std::string_view(reinterpret_cast<const char*>(data), size));
  fuzz::WriteFile(kProfiles, files.front().bytes);
  const auto roster = std::find_if(files.begin(), files.end(), [](const fuzz::InputFile& f) { return f.name == "profile1"; });
  const bool hasRoster = roster != files.end();
  if (hasRoster) {
    fuzz::WriteFile(kRoster, roster->bytes);
  } else {
    (void)std::remove("data/tables/profile1");  // the last input's, or the one saved then
  }

  N_ShaderMng shaders(64);
  fuzz::Guarded([&] {
    N_AthletMng athletes(shaders);
    athletes.ParseProfiles(kProfiles);
    athletes.SplitBySex();
    for (std::size_t i = 0; i < athletes.GetMaleCount(); ++i) fuzz::Check(athletes.GetMale(i)->Sex == 0, "a woman among the men");
    for (std::size_t i = 0; i < athletes.GetFemaleCount(); ++i) {
      fuzz::Check(athletes.GetFemale(i)->Sex == 1, "a man among the women");
    }
    for (std::size_t i = 0; i < athletes.AthleteCount(); ++i) {
      const N_AthletProfile& a = *athletes.Athlete(i);
      for (const std::string* text : {&a.AthletName, &a.Nationality, &a.Mesh, &a.StartNum, &a.Dress, &a.Sticks,
                                      &a.Gun, &a.Ski}) {
        fuzz::Check(text->size() <= N_AthletProfile::kMaxText, "a text longer than its field");
      }
    }
    CheckAttributes(athletes, "an attribute of the profiles outside 0 to 100");
    athletes.LoadTextures();
    const bool fits = hasRoster && roster->bytes.size() / N_AthletMng::kRosterRecordBytes == athletes.AthleteCount();
    fuzz::Check(athletes.Load(1) == fits, "a roster loaded although its size does not fit, or refused though it fits");
    CheckAttributes(athletes, "an attribute of the roster outside 0 to 100");
    const std::vector<std::uint32_t> career = Attributes(athletes);
    fuzz::Check(athletes.Save(1), "the roster could not be saved");
    fuzz::Check(athletes.Load(1), "the roster the manager saved does not load");
    fuzz::Check(Attributes(athletes) == career, "the roster loaded back differs from the one saved");
  });
  return 0;
}
