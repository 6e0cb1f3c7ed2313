#pragma once
// The time-attack and training pages of the sample data over the race pages' test
// world, with what their launches load: the sample courses, the race markers and the
// AI data, and the tables' folder. The blocking page switch moves the test clock on by
// a quarter second each frame, so a launch ends at once.
#include "core/VarMng.h"
#include "frontend/FinalResultPage.h"
#include "frontend/FrontendFrame.h"
#include "frontend/FrontendUtil.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiServices.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "tests/race/RacePagesRig.h"
#include "tests/support/TestEnv.h"

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace test {

class SoloModesRig : public RacePagesRig {
 public:
  SoloModesRig() {
    for (const char* part : {"data/levels", "data/anim", "data/meshes", "data/effects", "data/Ai"}) {
      CopyFromGameRoot(rig.harness.dir, part);
    }
    std::filesystem::create_directories(rig.harness.dir.Path() + "/data/tables");
    // The levels' effects, among them the snow that the weather switches.
    World().ParticleMng().LoadScripts();
    frontend::SetFrameObserver([this](const frontend::FrameEvent& e) {
      if (!e.drawn) Step(0.25);
    });
    NewLog();
  }
  ~SoloModesRig() { frontend::SetFrameObserver(nullptr); }

  const TempDir& Dir() const { return rig.harness.dir; }

  /// Selects by element name: an image or text selector's item, a table's row.
  void Choose(std::initializer_list<std::pair<const char*, int>> choices) {
    for (const auto& [name, index] : choices) {
      N_GuiElement& element = Element(name);
      if (auto* image = dynamic_cast<N_GuiImageSelector*>(&element)) image->SetSelected(std::uint32_t(index));
      if (auto* text = dynamic_cast<N_GuiTextSelector*>(&element)) text->SetSelected(std::uint32_t(index));
      if (auto* table = dynamic_cast<N_GuiTable*>(&element)) table->SelectRow(index);
    }
  }
  /// The click on the results page for a result kept under the handle, as the launch
  /// of the mode left "gamemode".
  void ClickResult(int gameMode, std::int32_t handle) {
    rig.core.vars->SetInt("gamemode", gameMode, 2);
    rig.core.vars->SetInt("egd", handle, 2);
    FinalResultClick(nullptr);
  }
  /// The pictures of an image selector as shader handles, in item order.
  std::vector<std::int32_t> Pictures(const char* name) {
    auto& selector = ElementAs<N_GuiImageSelector>(name);
    std::vector<std::int32_t> handles;
    for (std::size_t i = 0; i < selector.ItemCount(); ++i) handles.push_back(selector.ItemShader(i));
    return handles;
  }
  /// The handles of the course pictures "textures\menu\trat%02ds" of these numbers.
  static std::vector<std::int32_t> CoursePictures(std::initializer_list<int> numbers) {
    std::vector<std::int32_t> handles;
    for (int n : numbers) {
      char name[32];
      std::snprintf(name, sizeof name, "textures\\menu\\trat%02ds", n);
      handles.push_back(GuiAddShader(name));
    }
    return handles;
  }
};

}  // namespace test
