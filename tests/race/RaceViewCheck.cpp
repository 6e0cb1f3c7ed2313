#include "tests/race/RaceViewCheck.h"

#include "core/Matrix3.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "race/AthletProfile.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/ai/AiSector.h"
#include "scene/AnimationFactory2.h"
#include "tests/race/WorldGlRig.h"
#include "tools/CourseLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace test {

namespace {

constexpr int kW = WorldGlRig::kWidth, kH = WorldGlRig::kHeight;

int Channel(DWORD p, int shift) { return int((p >> shift) & 0xFF); }
bool Differs(DWORD a, DWORD b) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > 8) return true;
  }
  return false;
}
/// Snow and groomed track: light and nearly grey.
bool IsSnow(DWORD p) {
  const int r = Channel(p, 16), g = Channel(p, 8), b = Channel(p, 0);
  return std::min({r, g, b}) > 110 && std::max({r, g, b}) - std::min({r, g, b}) < 50;
}
/// The sky: clearly blue.
bool IsSky(DWORD p) { return Channel(p, 0) > Channel(p, 16) + 40; }

/// The share of pixels of rows [top, bottom) that pass.
template <class Test>
float Share(const std::vector<DWORD>& pixels, int top, int bottom, Test test) {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < kW; ++x) n += test(WorldGlRig::At(pixels, x, y));
  }
  return float(n) / float((bottom - top) * kW);
}

}  // namespace

void ExpectRaceView(WorldGlRig& w, const N_Racer& racer, const course::Terrain& terrain, const std::string& moment) {
  SCOPED_TRACE(moment);
  // The HUD's speed is the physics' speed (pages are hidden below, captions stay).
  N_GuiPage* status = w.world->GuiMng().GetPage("PlayerStatus");
  if (status && status->IsVisible()) {
    const N_GuiElement* speed = w.world->GuiMng().GetElement("Speed1", false);
    ASSERT_NE(speed, nullptr);
    EXPECT_NEAR(std::atof(speed->GetCaption().c_str()), racer.Speed, 0.1) << speed->GetCaption();
  }

  w.SceneOnly();
  w.world->Render(0.0f);
  const std::vector<DWORD> with = w.Pixels();
  if (const char* dump = std::getenv("NAVO_CAMERA_DUMP")) {
    w.render->SaveScreenshot((std::string(dump) + "/" + moment + ".bmp").c_str(), 0, 0, kW, kH);
  }
  const std::int32_t figure = racer.Athlete->Figure;
  racer.Athlete->Figure = -1;
  w.world->Render(0.0f);
  const std::vector<DWORD> without = w.Pixels();
  racer.Athlete->Figure = figure;

  // The skier: the pixels his figure changes, centred in the middle third.
  double sx = 0, sy = 0;
  int count = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      if (!Differs(WorldGlRig::At(with, x, y), WorldGlRig::At(without, x, y))) continue;
      sx += x;
      sy += y;
      ++count;
    }
  }
  ASSERT_GT(count, 200) << "the skier is seen";
  EXPECT_GT(sx / count, kW / 3.0);
  EXPECT_LT(sx / count, kW * 2 / 3.0);
  EXPECT_GT(sy / count, kH / 3.0);
  EXPECT_LT(sy / count, kH * 2 / 3.0);

  // Snow fills the bottom of the frame, the sky shows at its top: the horizon lies
  // between them (a view from straight above or from inside the snow has no sky or no
  // snow there).
  EXPECT_GT(Share(without, kH * 5 / 6, kH, IsSnow), 0.6f) << "snow at the bottom";
  EXPECT_GT(Share(without, 0, kH / 6, IsSky), 0.3f) << "sky at the top";
  EXPECT_LT(Share(without, kH / 2, kH, IsSky), 0.01f) << "no sky below the middle";

  // The camera behind him (within 45 degrees), above the snow, looking a little down.
  const N_Camera& camera = *w.world->CurrentCamera();
  const float ox = camera.position.x - racer.Pos.x, oy = camera.position.y - racer.Pos.y;
  const float behind = -(ox * racer.Heading.x + oy * racer.Heading.y) /
                       (std::hypot(ox, oy) * std::hypot(racer.Heading.x, racer.Heading.y));
  EXPECT_GT(behind, std::cos(45.0f * 0.017453292f)) << "behind the skier";
  EXPECT_GT(camera.position.z - terrain.Height({camera.position.x, camera.position.y}), 30.0f) << "above the snow";
  EXPECT_GT(camera.angleX, 60.0f) << "not looking down on him from above";
  EXPECT_LT(camera.angleX, 90.0f) << "not looking up";
}

void AdvanceRace(WorldGlRig& w, const N_RaceSim& race, float dt) {
  w.input->Update();
  w.world->Update(dt);
  if (!w.world->Game()) return;  // the race is over and gone
  for (std::size_t i = 0; i < race.RacerCount(); ++i) {
    const N_Racer& r = race.Racer(i);
    if (r.Finished || !r.Athlete || r.Athlete->Figure < 0) continue;
    N_Matrix3 orientation;
    orientation.FromDirection(r.Heading);
    w.world->Figures().RenderFigure(dt, r.Athlete->Figure, r.Pos, orientation, r.StartNumber, r.Athlete, false, false,
                                    false);
  }
}

namespace {

constexpr const char* kMoments[] = {"start",          "first bend",        "second bend", "range arrival",
                                    "range departure", "penalty loop",     "penalty loop turn", "fall",
                                    "finish run-in",   "at the finish"};
constexpr int kFall = 7;

}  // namespace

bool RaceMoments::Reached(N_Racer& r, int moment) {
  const int kind = r.Sector ? r.Sector->PathKind() : -1;
  switch (moment) {
    case 0: return r.Time > 1.0f;
    case 1:
    case 2: {
      const N_Vector3& before = m_headings.front().second;
      const bool turned = before.x * r.Heading.x + before.y * r.Heading.y < 0.866f;
      return kind == Ai::kPathNormal && r.Speed > 3.0f && turned && r.Time > m_lastBend + 15.0f;
    }
    case 3: return r.ShootPhase == 4;
    case 4: return m_leftLane >= 0.0f && r.Speed > 1.0f;
    case 5: return m_penaltyFrom > 0.0f && r.Time > m_penaltyFrom + 2.0f;
    case 6: return m_penaltyFrom > 0.0f && r.Time > m_penaltyFrom + 5.0f;
    case kFall:
      if (m_fallFrom < 0.0f && r.LapsDone == 1 && r.Speed > 4.0f && r.FallImmunity <= 0.0f) {
        r.FallState = 1;  // forward, as after a collision
        m_fallFrom = r.Time;
      }
      return m_fallFrom > 0.0f && r.Time > m_fallFrom + 0.3f;
    case 8: return m_cielFrom > 0.0f && r.Time > m_cielFrom + 1.0f;
    default: return r.Stopped != 0;
  }
}

const char* RaceMoments::Due(N_Racer& r) {
  m_headings.emplace_back(r.Time, r.Heading);
  while (m_headings.front().first < r.Time - 3.0f) m_headings.pop_front();
  const int kind = r.Sector ? r.Sector->PathKind() : -1;
  if (kind == Ai::kPathPenalty && m_penaltyFrom < 0.0f) m_penaltyFrom = r.Time;
  if (kind == Ai::kPathCiel && m_cielFrom < 0.0f) m_cielFrom = r.Time;
  if (r.ShootPhase == 8 && m_next == 4 && m_leftLane < 0.0f) m_leftLane = r.Time;
  if (m_next == kFall && !m_throwFall) ++m_next;
  if (m_next >= int(std::size(kMoments)) || r.ShootPhase == 5 || !Reached(r, m_next)) return nullptr;
  if (m_next == 1 || m_next == 2) m_lastBend = r.Time;
  return kMoments[m_next++];
}

std::vector<std::string> RaceMoments::Missing() const {
  std::vector<std::string> missing;
  for (int i = m_next; i < int(std::size(kMoments)); ++i) {
    if (i != kFall || m_throwFall) missing.push_back(kMoments[i]);
  }
  return missing;
}

}  // namespace test
