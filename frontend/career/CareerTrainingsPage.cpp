#include "frontend/career/CareerTrainingsPage.h"

#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "frontend/career/CareerScheduleItem.h"
#include "frontend/career/CareerState.h"
#include "gui/GuiElement.h"
#include "gui/GuiTable.h"

#include <array>
#include <string>
#include <string_view>

namespace {

struct SpecialTraining {
  const char* title;
  std::int32_t cost;
};
constexpr std::array<SpecialTraining, 3> kTrainings = {{{"#str278", 2000}, {"#str279", 6000}, {"#str280", 12000}}};
constexpr std::int32_t kSeasonLimit = 2;

std::string KeyText(std::int32_t key) { return frontend::Text(("#str" + std::to_string(key)).c_str()); }

void ShowTrainingText(std::int32_t row) {
  if (row >= 0 && row < static_cast<std::int32_t>(kTrainings.size()))
    frontend::SetCaption("TrainingText1", KeyText(284 + row));
}

}  // namespace

void BuyWeekChoice() {
  N_CareerProfile* p = career::Profile();
  if (!p) return;
  if (p->weekChoice >= 0) {
    ShowMessageOK(frontend::Text("#str346"), "OKMsgClick");
    return;
  }
  const std::int32_t row = frontend::SelectedRow("TTable1");
  if (row < 0 || row >= static_cast<std::int32_t>(kTrainings.size())) return;
  const std::int32_t cost = kTrainings[static_cast<std::size_t>(row)].cost;
  if (p->account < cost) {
    ShowMessageOK(frontend::Text("#str345"), "OKMsgClick");
    return;
  }
  p->account -= cost;
  p->weekChoicesBought += 1;
  p->weekChoice = row;
  // The training takes Monday to Wednesday: what was booked there goes, unrefunded.
  for (std::size_t day = 0; day < 3; ++day) std::vector<CareerScheduleItem>().swap(career::Week().days[day]);
  frontend::HidePageNow("CareerTrainings");
  frontend::ShowPageNow("Career");
}

extern "C" void CareerTrainingsShow(N_GuiPage* /*page*/) {
  N_GuiTable* table = frontend::GetElementOf<N_GuiTable>("TTable1");
  if (!table) return;
  table->Clear();
  for (std::size_t row = 0; row < kTrainings.size(); ++row) {
    const SpecialTraining& training = kTrainings[row];
    table->AddRow(frontend::QuotedCell(frontend::Text(training.title)) + ' ' +
                      frontend::QuotedCell(KeyText(281 + static_cast<std::int32_t>(row))) + ' ' +
                      std::to_string(training.cost),
                  false);
  }
  ShowTrainingText(table->GetSelectedRow());
}

extern "C" void CareerTrainingsClick(N_GuiElement* element) {
  if (!element) return;
  const std::string_view name = element->GetName();
  if (name == "Back25") {
    frontend::HidePageNow("CareerTrainings");
    frontend::ShowPageNow("Career");
  } else if (name == "TTable1") {
    ShowTrainingText(frontend::SelectedRow("TTable1"));
  } else if (name == "Buy1") {
    const N_CareerProfile* p = career::Profile();
    if (!p) return;
    if (p->weekChoicesBought >= kSeasonLimit) {
      ShowMessageOK(frontend::Text("#str344"), "OKMsgClick");
      return;
    }
    const auto& days = career::Week().days;
    if (!days[0].empty() || !days[1].empty() || !days[2].empty()) {
      ShowMessageYesNo(frontend::Text("#str343"), "cbTrainingBuy");
      return;
    }
    BuyWeekChoice();
  }
}

extern "C" void cbTrainingBuy(N_GuiElement* element) {
  frontend::HidePageNow("MessageYesNo");
  if (element && element->GetName() == "Yes1") BuyWeekChoice();
}
