// The athlete model view over a recording renderer and a double of the world's figure
// calls: its camera over the clipped rectangle, the order of its calls (flush, light,
// 3D set-up, action, figure, 2D set-up, page matrix), its orientation, when it draws
// no figure, and its attributes' text forms.
#include "core/Globals.h"
#include "core/Matrix3.h"
#include "core/StringUtil.h"
#include "core/Timer.h"
#include "gui/GuiFigures.h"
#include "gui/GuiModel.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "tests/gui/GuiRig.h"
#include "tests/render/RenderRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

/// The renderer's calls the model view makes, in test::GuiCalls, with what they took.
class CallRecorder final : public N_Render {
 public:
  void ClearDepth() override {
    test::GuiCalls().push_back("flush");
    N_Render::ClearDepth();
  }
  void SetLight(std::int32_t slot, N_RenderLight* light) override {
    test::GuiCalls().push_back("light " + std::to_string(slot));
    lights.push_back(*light);
    N_Render::SetLight(slot, light);
  }
  void SetupCamera(N_Camera* camera, std::int32_t is3D) override {
    test::GuiCalls().push_back(is3D ? "3D" : "2D");
    cameras.push_back(camera);
    if (is3D && camera) copies.push_back(*camera);
    N_Render::SetupCamera(camera, is3D);
  }
  void SetWorldMatrix(const N_Matrix4& matrix) override {
    test::GuiCalls().push_back("world");
    worlds.push_back(matrix);
    N_Render::SetWorldMatrix(matrix);
  }

  std::vector<N_RenderLight> lights;
  std::vector<N_Camera*> cameras;
  std::vector<N_Camera> copies;  ///< the 3D cameras as they were set up
  std::vector<N_Matrix4> worlds;
};

/// The world's athletes and figures: two men (instances 7 and 8), a woman (9) and a
/// woman without a figure.
class FigureDouble final : public N_GuiFigures {
 public:
  struct Drawn {
    float frameTime;
    std::int32_t instance;
    N_Vector3 position;
    N_Matrix3 orientation;
    std::int32_t dressNumber;
    const N_FigureAthlete* athlete;
    bool forceVisible, draw, pose;
  };
  const N_FigureAthlete* GetMale(std::int32_t i) override { return At(males, i); }
  const N_FigureAthlete* GetFemale(std::int32_t i) override { return At(females, i); }
  void SetNextAction(std::int32_t instance, std::int32_t action, float fps, float blend) override {
    test::GuiCalls().push_back("action " + std::to_string(instance) + " " + std::to_string(action) + " " +
                               std::to_string(int(fps)) + " " + std::to_string(int(blend)));
  }
  void RenderFigure(float frameTime, std::int32_t instance, const N_Vector3& position, const N_Matrix3& orientation,
                    std::int32_t dressNumber, const N_FigureAthlete& athlete, bool forceVisible, bool draw,
                    bool pose) override {
    test::GuiCalls().push_back("figure " + std::to_string(instance));
    drawn.push_back({frameTime, instance, position, orientation, dressNumber, &athlete, forceVisible, draw, pose});
  }

  std::vector<N_FigureAthlete> males = Records({7, 8});
  std::vector<N_FigureAthlete> females = Records({9, -1});
  std::vector<Drawn> drawn;

 private:
  static std::vector<N_FigureAthlete> Records(std::initializer_list<std::int32_t> figures) {
    std::vector<N_FigureAthlete> records;
    for (std::int32_t figure : figures) records.emplace_back().Figure = figure;
    return records;
  }
  static const N_FigureAthlete* At(const std::vector<N_FigureAthlete>& list, std::int32_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < list.size() ? &list[std::size_t(i)] : nullptr;
  }
};

void ExpectMatrix(const float* actual, const float* expected, int n, const char* what) {
  for (int i = 0; i < n; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-4f) << what << " [" << i << "]";
}

class GuiModelTest : public ::testing::Test {
 protected:
  GuiModelTest() {
    g_render = &renderRig.render;
    rig.core.vars->SetInt("v_width", 1024, 0);
    rig.core.vars->SetInt("v_height", 768, 0);
    worldCamera.SetProjection(90.0f, 1024.0f, 768.0f, 0.0f, 0.0f);
    g_guiServices.figures = &figures;
    g_guiServices.camera = &worldCamera;
    EXPECT_TRUE(rig.LoadScript("model.gui"));
    page = rig.mng->GetPage("ModelPage");
    page->ShowImmediate();
    rig.batch.Init();
  }
  ~GuiModelTest() override { g_render = nullptr; }
  N_GuiModel* Model(const char* name) { return static_cast<N_GuiModel*>(rig.mng->GetElement(name, false)); }
  /// One model drawn after a frame of the timer, with only its own calls recorded.
  void Draw(N_GuiModel* model, double seconds = 0.02) {
    rig.Step(seconds);
    model->ApplyLayout();
    test::GuiCalls().clear();
    model->Render();
    calls = test::GuiCalls();
    rig.batch.Flush();
  }

  test::RenderRig renderRig{test::RecordingRender::DefaultConfig(), [] { return new CallRecorder; }};
  CallRecorder& recorder = static_cast<CallRecorder&>(renderRig.render);
  test::GuiRig rig{true};
  FigureDouble figures;
  N_Camera worldCamera;
  N_GuiPage* page = nullptr;
  std::vector<std::string> calls;  ///< what the last Draw's render called
};

TEST_F(GuiModelTest, ItDrawsTheFigureThroughItsOwnCameraAndLightInOrder) {
  N_GuiModel* model = Model("Turning");
  page->SetOffset(100.0f, 0.0f);
  Draw(model);
  EXPECT_EQ(calls, (std::vector<std::string>{"flush", "light 0", "3D", "action 7 3 30 0", "figure 7",
                                                        "2D", "world"}));
  // At (-100, 50), 300 x 200 on 1024 x 768: clipped to 200 x 200 at (0, 50), in pixels
  // 320 x 320 at (0, 80); from the origin towards 30 above the feet at (-130, 0, -30).
  N_Camera expected;
  expected.SetProjection(30.0f, 320.0f, 320.0f, 0.0f, 80.0f);
  const N_Vector3 eye{0, 0, 0}, target{-130.0f, 0.0f, 0.0f};
  expected.LookAt(&eye, &target);
  ASSERT_EQ(recorder.copies.size(), 1u);
  const N_Camera& used = recorder.copies[0];
  EXPECT_EQ(used.viewportX, 0);
  EXPECT_EQ(used.viewportY, 80);
  EXPECT_EQ(used.viewportWidth, 320);
  EXPECT_EQ(used.viewportHeight, 320);
  ExpectMatrix(used.projection.m, expected.projection.m, 16, "projection");
  ExpectMatrix(used.view.m, expected.view.m, 16, "view");
  EXPECT_EQ(recorder.cameras[0], &model->Camera());
  EXPECT_EQ(recorder.cameras[1], &worldCamera) << "back to the world's camera in 2D";
  // Light 0: directional along the default (-1, 0, -1), as it stands; white diffuse,
  // ambient and specular 0.5.
  ASSERT_EQ(recorder.lights.size(), 1u);
  const N_RenderLight& light = recorder.lights[0];
  EXPECT_EQ(light.type, 1);
  const float direction[] = {-1, 0, -1}, white[] = {1, 1, 1}, half[] = {0.5f, 0.5f, 0.5f};
  ExpectMatrix(light.direction, direction, 3, "direction");
  ExpectMatrix(light.diffuse, white, 3, "diffuse");
  ExpectMatrix(light.ambient, half, 3, "ambient");
  ExpectMatrix(light.specular, half, 3, "specular");
  // The figure: the frame time, its place, the dress number, the record, all flags.
  ASSERT_EQ(figures.drawn.size(), 1u);
  const FigureDouble::Drawn& d = figures.drawn[0];
  EXPECT_NEAR(d.frameTime, 0.02f, 1e-6f);
  EXPECT_EQ(d.position.x, -130.0f);
  EXPECT_EQ(d.position.z, -30.0f);
  EXPECT_EQ(d.dressNumber, 7);
  EXPECT_EQ(d.athlete, &figures.males[0]);
  EXPECT_TRUE(d.forceVisible && d.draw && d.pose);
  // The page's matrix again: what the page draws after it moves with the page.
  ASSERT_EQ(recorder.worlds.size(), 1u);
  EXPECT_EQ(recorder.worlds[0].m[12], 100.0f);
}

TEST_F(GuiModelTest, TheFigureTurnsAtItsSpeedFromItsBaseAngle) {
  struct Case {
    const char* rotation;
    float speed;
    float axis[3];  ///< the rotation's first three numbers
    float base;     ///< its first
  };
  const Case cases[] = {
      {"0 0 1 0", 0.0f, {0, 0, 1}, 0.0f},
      {"1 2 3", 0.0f, {1, 0, 0}, 1.0f},  // not four numbers: (1, 0, 0, 0)
      {"0.6 0 0.8 0", 0.0f, {0.6f, 0, 0.8f}, 0.6f},
      {"0 0 1 0", 0.5f, {0, 0, 1}, 0.0f},
  };
  N_GuiModel* model = Model("Turning");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rotation);
    test::Set(*model, {{"rotation", c.rotation}, {"rotspeed", FloatToString(c.speed).c_str()}});
    for (int frame = 0; frame < 3; ++frame) {
      figures.drawn.clear();
      Draw(model, 0.25);
      ASSERT_EQ(figures.drawn.size(), 1u);
      const float angle = float(g_timer->GetTime()) * c.speed + c.base;
      const float k[3] = {c.axis[0], c.axis[1], c.axis[2]};
      const float cs = std::cos(angle), s = std::sin(angle), t = 1 - cs;
      const float expected[9] = {cs + t * k[0] * k[0],        t * k[0] * k[1] - s * k[2], t * k[0] * k[2] + s * k[1],
                                 t * k[0] * k[1] + s * k[2], cs + t * k[1] * k[1],        t * k[1] * k[2] - s * k[0],
                                 t * k[0] * k[2] - s * k[1], t * k[1] * k[2] + s * k[0], cs + t * k[2] * k[2]};
      ExpectMatrix(figures.drawn[0].orientation.m, expected, 9, "orientation");
    }
  }
  // Rotation speed 0 keeps the figure still whatever the time.
  test::Set(*model, {{"rotation", "0 0 1 0"}, {"rotspeed", "0"}});
  figures.drawn.clear();
  Draw(model, 3.0);
  const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  ExpectMatrix(figures.drawn[0].orientation.m, identity, 9, "still");
}

TEST_F(GuiModelTest, WithoutSomethingToDrawItMakesNo3DCall) {
  struct Case {
    const char* what;
    const char* sex;
    const char* athlete;
    const char* left;
    bool camera;
    bool services;
    const char* instance;  ///< the figure drawn, or null for none
  };
  const Case cases[] = {
      {"a man", "0", "1", "-100", true, true, "figure 8"},
      {"a woman", "1", "0", "-100", true, true, "figure 9"},
      {"any sex but 0 is the women's", "-3", "0", "-100", true, true, "figure 9"},
      {"an index beyond the list", "0", "2", "-100", true, true, nullptr},
      {"a negative index", "1", "-1", "-100", true, true, nullptr},
      {"a record without a figure", "1", "1", "-100", true, true, nullptr},
      {"wholly off the left edge", "0", "0", "-300", true, true, nullptr},
      {"no world camera", "0", "0", "0", false, true, nullptr},
      {"no figures", "0", "0", "0", true, false, nullptr},
  };
  N_GuiModel* model = Model("Turning");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::Set(*model, {{"sex", c.sex}, {"athlet", c.athlete}, {"left", c.left}});
    g_guiServices.camera = c.camera ? &worldCamera : nullptr;
    g_guiServices.figures = c.services ? &figures : nullptr;
    Draw(model);
    if (c.instance) {
      ASSERT_EQ(calls.size(), 7u);
      EXPECT_EQ(calls[4], c.instance);
    } else {
      EXPECT_TRUE(calls.empty()) << calls.front();
    }
  }
  // The panel itself is drawn all the same.
  g_guiServices.figures = nullptr;
  rig.Step(0.02);
  model->Render();
  EXPECT_EQ(rig.batch.EntryCount(), 1u);
  rig.batch.Flush();
}

TEST_F(GuiModelTest, TheAttributesTextForms) {
  N_GuiModel* standing = Model("Standing");
  ASSERT_NE(standing, nullptr);
  EXPECT_EQ(standing->GetTypeName(), "Model");
  // Made from the template: its values, then the element's own.
  struct Case {
    const char* attribute;
    const char* readBack;
  };
  const Case fromScript[] = {{"sex", "1"},          {"anim", "18"},         {"dressnum", "12"},
                             {"fov", "45"},         {"athlet", "0"},        {"rotspeed", "0"},
                             {"rotation", "0 0 1 0"}, {"position", "-150 10 -40"},
                             {"lightdir", "0 0.707107 -0.707107"}, {"lightcolor", "1 0.9 0.8"}};
  for (const Case& c : fromScript) EXPECT_EQ(standing->GetAttribute(c.attribute), c.readBack) << c.attribute;
  // Wrong counts of numbers, and a direction of no length.
  const Case garbage[] = {{"position", "1 2"}, {"rotation", "1 2 3 4 5"}, {"lightdir", "0 0 0"}, {"lightcolor", "x"}};
  const char* const readBack[] = {"0 0 0", "1 0 0 0", "1 0 0", "0 0 0"};
  for (std::size_t i = 0; i < std::size(garbage); ++i) {
    EXPECT_TRUE(standing->SetAttribute(garbage[i].attribute, garbage[i].readBack));
    EXPECT_EQ(standing->GetAttribute(garbage[i].attribute), readBack[i]) << garbage[i].attribute;
  }
  // The front-end's own settings.
  standing->SetAthlete(1);
  standing->SetSex(0);
  standing->SetAnimation(5);
  EXPECT_EQ(standing->GetAttribute("athlet"), "1");
  EXPECT_EQ(standing->GetAttribute("anim"), "5");
  EXPECT_EQ(rig.Log().find("!!! Bad"), std::string::npos) << rig.Log();
}

}  // namespace
