// Fuzz-style: the athlete profiles, the three AI tables, the career roster and the
// recorded run read cut, bit-flipped and random files and huge tokens. Every read must
// end in a clean load, a reported fault or a refused file; run under the sanitizer
// build, nothing is read past a buffer and nothing leaks. A critical report would
// throw out of its box (none is expected from these readers).
#include "race/AthletMng.h"
#include "race/RunRecorder.h"
#include "race/ai/AiTableMng.h"
#include "render/ShaderMng.h"
#include "tests/race/RaceTestSupport.h"
#include "tests/render/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

struct CriticalReport {
  std::string text;
};

/// A deterministic byte generator of its own per test.
class Mutator {
 public:
  explicit Mutator(std::uint32_t seed) : m_state(seed) {}
  std::uint32_t Next() { return (m_state = m_state * 1103515245u + 12345u) >> 8; }

  /// Round r's variant of the seed text: cut, flipped bits, random bytes, a huge token
  /// or repeated blocks.
  std::string Mutate(const std::string& seed, int round) {
    std::string file = seed;
    switch (round % 5) {
      case 0:
        file.resize(Next() % (file.size() + 1));
        break;
      case 1:
        for (int e = 1 + int(Next() % 8); e > 0 && !file.empty(); --e) file[Next() % file.size()] ^= char(1u << (Next() % 8));
        break;
      case 2:
        file.assign(Next() % 4000, '\0');
        for (char& c : file) c = char(Next());
        break;
      case 3:
        file.insert(Next() % (file.size() + 1), std::string(1000 + Next() % 5000, "x\"1/ "[Next() % 5]));
        break;
      case 4:
        for (int n = int(Next() % 50); n > 0; --n) file += seed.substr(Next() % (seed.size() + 1), Next() % 200);
        break;
    }
    return file;
  }

 private:
  std::uint32_t m_state;
};

/// Runs the rounds with boxes recorded and critical reports thrown; the tables' and
/// the recorder's lines go to an open "Ai.log".
void Fuzz(int rounds, std::uint32_t seed, const std::string& seedText, const std::function<void(const std::string&)>& read) {
  test::RaceRig rig;
  platform::SetMessageBoxAnswerHook([](const std::string& text, const std::string& caption, UINT) {
    if (caption == "Critical error!") throw CriticalReport{text};
    return IDNO;
  });
  platform::SetDebugOutputHook([](const std::string&) {});
  Mutator mutator(seed);
  for (int round = 0; round < rounds; ++round) {
    const std::string file = mutator.Mutate(seedText, round);
    try {
      read(file);
    } catch (const CriticalReport& report) {
      ADD_FAILURE() << "critical report: " << report.text;
    }
  }
  platform::SetDebugOutputHook({});
}

std::string GameFile(const std::string& relative) {
  std::ifstream in(test::GameRoot() + "/" + relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(RaceFuzz, ProfilesAndRostersEndInAthletesOrReports) {
  const std::string seed = GameFile("data/profiles/playerprofiles.data");
  ASSERT_FALSE(seed.empty());
  int withAthletes = 0;
  Fuzz(600, 29, seed, [&](const std::string& file) {
    test::TempDir dir;
    dir.Write("p.data", file);
    dir.Write("data/tables/profile1", file.substr(0, file.size() % 3000));
    test::FakeShaderHost host;
    N_ShaderMng shaders(1024, host);
    N_AthletMng athletes(shaders);
    athletes.ParseProfiles("p.data");
    athletes.SplitBySex();
    for (std::size_t i = 0; i < athletes.GetMaleCount(); ++i) ASSERT_EQ(athletes.GetMale(i)->Sex, 0);
    for (std::size_t i = 0; i < athletes.GetFemaleCount(); ++i) ASSERT_EQ(athletes.GetFemale(i)->Sex, 1);
    for (std::size_t i = 0; i < athletes.AthleteCount(); ++i) {
      ASSERT_LE(athletes.Athlete(i)->AthletName.size(), N_AthletProfile::kMaxText);
      ASSERT_LE(athletes.Athlete(i)->Dress.size(), N_AthletProfile::kMaxText);
    }
    if (athletes.AthleteCount() > 0) {
      ++withAthletes;
      athletes.LoadTextures();
      const bool loaded = athletes.Load(1);
      ASSERT_EQ(loaded, file.size() % 3000 / N_AthletMng::kRosterRecordBytes == athletes.AthleteCount());
      athletes.Save(1);
    }
  });
  EXPECT_GT(withAthletes, 100);
}

TEST(RaceFuzz, AiTablesKeepTheirShapeWhateverTheFiles) {
  const std::string physics = GameFile("data/Ai/Anims.physics");
  const std::string times = GameFile("data/Ai/Anims.time");
  ASSERT_FALSE(physics.empty());
  Fuzz(300, 6221, physics + times, [&](const std::string& file) {
    test::TempDir dir;
    dir.Write("Anims.physics", file);
    dir.Write("Anims.time", file.substr(file.size() / 2));
    dir.Write("s/a.all", file.substr(0, 300));
    dir.Write("s/1.strategy", file.substr(file.size() / 3));
    Ai::N_AiTableMng tables;
    tables.LoadStrategies("s\\");
    tables.LoadAnimBlendTimes("Anims.time");
    tables.LoadAnimPhysicTable("Anims.physics");
    ASSERT_EQ(tables.BlendRowCount(), 48u);
    for (std::size_t i = 0; i < tables.StrategyCount(); ++i) ASSERT_GE(tables.Strategy(i).values.size(), 2u);
    for (int anim = -1; anim <= 48; ++anim) {
      ASSERT_NE(tables.GetAnimPhysicRow(anim), nullptr);
      tables.GetAnimBlendTime(anim, 47 - anim);
    }
    tables.FindStrategy(0.0f);
  });
}

TEST(RaceFuzz, RecordedRunsLoadWholeSamplesOrNothing) {
  std::string seed;
  for (int i = 0; i < 40; ++i) {
    const float fields[6] = {float(i), float(i * i), 1, 0.6f, 0.8f, 0};
    seed.append(reinterpret_cast<const char*>(fields), sizeof fields);
    seed += char(i);
    seed.append(3, '\0');
  }
  Fuzz(400, 6226, seed, [](const std::string& file) {
    test::TempDir dir;
    dir.Write("data/tables/run.dat", file);
    N_RunRecorder run;
    const bool loaded = run.Load("run.dat");
    ASSERT_EQ(loaded, file.size() >= N_RunRecorder::kSampleBytes);
    if (loaded) {
      ASSERT_EQ(std::size_t(run.GhostSampleCount()), file.size() / N_RunRecorder::kSampleBytes);
    }
    for (float dt : {0.033f, 1.0f, 1e30f, -5.0f, std::nanf("")}) run.Step(dt, {1, 2, 3}, {0, 1, 0}, 2);
  });
}

}  // namespace
