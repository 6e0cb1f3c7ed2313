// The coach's sound cache over a noting sound manager: its 34 sounds made in id order
// and given back once, and the sentence each comment ladder chooses, with the log lines
// and the error boxes of positions and ids outside the tables.
#include "race/SoundCache.h"

#include "tests/race/RaceTestSupport.h"
#include "tests/race/WorldTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct CacheRig {
  test::RaceRig race;
  test::NotingSoundMng sound;
  N_SoundCache cache;

  /// The names of the sounds played since the last call.
  std::vector<std::string> Played() {
    std::vector<std::string> names;
    for (const int handle : sound.played) names.push_back(sound.NameOf(handle));
    sound.played.clear();
    return names;
  }
  /// The log written since the last call.
  std::string NewLog() {
    const std::string text = race.core.LogText();
    const std::string fresh = text.substr(std::min(m_mark, text.size()));
    m_mark = text.size();
    return fresh;
  }

 private:
  std::size_t m_mark = 0;
};

TEST(SoundCache, MakesItsSoundsInIdOrderAndGivesThemBackOnce) {
  CacheRig r;
  const std::vector<std::string> names(N_SoundCache::kSoundNames.begin(), N_SoundCache::kSoundNames.end());
  EXPECT_EQ(r.sound.made, names);
  EXPECT_EQ(names[27], "hit");
  EXPECT_EQ(names[33], "fxtest");
  r.cache.Play(33);
  EXPECT_EQ(r.Played(), std::vector<std::string>{"fxtest"});
  r.cache.Unregister();
  r.cache.Unregister();
  ASSERT_EQ(r.sound.released.size(), 34u) << "released once";
  for (int id = 0; id < 34; ++id) EXPECT_EQ(r.sound.NameOf(r.sound.released[std::size_t(id)]), names[std::size_t(id)]);
  r.cache.Play(27);
  EXPECT_TRUE(r.Played().empty()) << "nothing plays after the sounds went back";
}

/// A comment, the sound it plays ("" none), whether an error box shows, and its log.
struct CommentCase {
  const char* name;
  std::function<void(N_SoundCache&)> say;
  const char* sound;
  const char* box;
  const char* log;
};

class SoundCacheComment : public testing::TestWithParam<CommentCase> {};

TEST_P(SoundCacheComment, ChoosesItsSentence) {
  const CommentCase& c = GetParam();
  CacheRig r;
  r.NewLog();
  c.say(r.cache);
  const std::vector<std::string> played = r.Played();
  if (*c.sound) {
    EXPECT_EQ(played, std::vector<std::string>{c.sound});
  } else {
    EXPECT_TRUE(played.empty());
  }
  if (*c.box) {
    ASSERT_EQ(r.race.boxes.size(), 1u);
    EXPECT_EQ(r.race.boxes[0].caption, "Error");
    EXPECT_EQ(r.race.boxes[0].text, c.box);
  } else {
    EXPECT_TRUE(r.race.boxes.empty());
  }
  EXPECT_EQ(r.NewLog().substr(0, std::string(c.log).size()), c.log);
}

INSTANTIATE_TEST_SUITE_P(
    SoundCache, SoundCacheComment,
    testing::Values(
        CommentCase{"Position5", [](N_SoundCache& s) { s.PlayCoTrener1(5); }, "Trainer_Pos_4_5", "",
                    "trener1 pos: 5\nTrainer_Pos_4_5\n"},
        CommentCase{"Position10", [](N_SoundCache& s) { s.PlayCoTrener1(10); }, "Trainer_Pos_10_14", "",
                    "trener1 pos: 10\nTrainer_Pos_10_14\n"},
        CommentCase{"Position15", [](N_SoundCache& s) { s.PlayCoTrener1(15); }, "Trainer_Pos_15", "", "trener1 pos: 15\n"},
        CommentCase{"Position0", [](N_SoundCache& s) { s.PlayCoTrener1(0); }, "",
                    "N_SoundCache::PlayCoTrener1 mimo rozsah 0/15", "trener1 pos: 0\n"},
        CommentCase{"Position16", [](N_SoundCache& s) { s.PlayCoTrener1(16); }, "",
                    "N_SoundCache::PlayCoTrener1 mimo rozsah 16/15", "trener1 pos: 16\n"},
        CommentCase{"Condition086", [](N_SoundCache& s) { s.PlayCoTrener2(4, 2, 0.86f); }, "Trainer_Kond_Normal", "",
                    "trener2 celkovo_kol: 4, akt. kolo: 2, akt_kond: 0.8600\nopt kond: 0.8334, perc: "
                    "0.0083Trainer_Kond_Normal\n"},
        CommentCase{"Condition093", [](N_SoundCache& s) { s.PlayCoTrener2(4, 2, 0.93f); }, "Trainer_Kond_Plus_10", "", ""},
        CommentCase{"Condition088", [](N_SoundCache& s) { s.PlayCoTrener2(4, 2, 0.88f); }, "Trainer_Kond_Plus_5", "", ""},
        CommentCase{"Condition074", [](N_SoundCache& s) { s.PlayCoTrener2(4, 2, 0.74f); }, "Trainer_Kond_Minus_10", "", ""},
        CommentCase{"Condition079", [](N_SoundCache& s) { s.PlayCoTrener2(4, 2, 0.79f); }, "Trainer_Kond_Minus_5", "", ""},
        CommentCase{"Condition0871", [](N_SoundCache& s) { s.PlayCoTrener2(4, 2, 0.871f); }, "", "",
                    "trener2 celkovo_kol: 4, akt. kolo: 2, akt_kond: 0.8710\nopt kond: 0.8334, perc: 0.0083"},
        CommentCase{"Pulse140", [](N_SoundCache& s) { s.PlayCoTrener3(140.0f, 50.0f, 200.0f); }, "Trainer_Freq_Normal", "",
                    "trener3 frekv_srdca: 140.0000, freq z profilu: 50.0000, frek max:: 200.0000\nopt freq: 137.5000, "
                    "perc: 1.3750Trainer_Freq_Normal\n"},
        CommentCase{"Pulse155", [](N_SoundCache& s) { s.PlayCoTrener3(155.0f, 50.0f, 200.0f); }, "Trainer_Freq_Plus_10",
                    "", ""},
        CommentCase{"Pulse120", [](N_SoundCache& s) { s.PlayCoTrener3(120.0f, 50.0f, 200.0f); }, "Trainer_Freq_Minus_10",
                    "", ""},
        CommentCase{"FinalFirstFresh", [](N_SoundCache& s) { s.PlayCoTrener4(1, 3, 3, 0.5f); },
                    "Trainer_Final_Pos_1_Plus_Kond", "",
                    "trener4 pos: 1, pocet_kol_celkovo: 3, aktualne_kolo: 3 , aktualna_kondicia: 0.500, kond_ref: 0.033 "
                    "\nTrainer_Final_Pos_1_Plus_Kond\n"},
        CommentCase{"FinalFirstTired", [](N_SoundCache& s) { s.PlayCoTrener4(1, 3, 3, 0.02f); },
                    "Trainer_Final_Pos_1_Minus_Kond", "", ""},
        CommentCase{"FinalSeventh", [](N_SoundCache& s) { s.PlayCoTrener4(7, 3, 3, 0.5f); },
                    "Trainer_Final_Pos_6_9_Plus_Kond", "", ""},
        CommentCase{"FinalLast", [](N_SoundCache& s) { s.PlayCoTrener4(15, 3, 3, 0.0f); },
                    "Trainer_Final_Pos_15_Minus_Kond", "", ""},
        CommentCase{"FinalOutOfTable", [](N_SoundCache& s) { s.PlayCoTrener4(0, 3, 3, 0.5f); }, "",
                    "N_SoundCache::PlayCoTrener4 mimo rozsah 0/15", ""},
        CommentCase{"Id34", [](N_SoundCache& s) { s.Play(34); }, "",
                    "N_SoundCache::Play: Poziadavka na prehranie neresistrovaneho zvuku 34/34", ""},
        CommentCase{"IdMinus1", [](N_SoundCache& s) { s.Play(-1); }, "",
                    "N_SoundCache::Play: Poziadavka na prehranie neresistrovaneho zvuku -1/34", ""},
        CommentCase{"NoLaps", [](N_SoundCache& s) { s.PlayCoTrener2(0, 0, 0.5f); }, "", "", "trener2 celkovo_kol: 0"}),
    [](const testing::TestParamInfo<CommentCase>& info) { return std::string(info.param.name); });

}  // namespace
