#include "frontend/MessageBox.h"

#include "frontend/FrontendUtil.h"

#include <cstring>

using namespace frontend;

namespace {

void ShowBox(const char* page, const char* label, const std::string& text, const char* const* buttons,
             const char* callback) {
  SetCaption(label, text);
  for (; *buttons; ++buttons) {
    if (N_GuiElement* button = GetElement(*buttons)) button->SetOnClick(callback ? callback : "");
  }
  ShowPageNow(page);
}

}  // namespace

void ShowMessageYesNo(const std::string& text, const char* callback) {
  static const char* const kButtons[] = {"Yes1", "No1", nullptr};
  ShowBox("MessageYesNo", "Label1", text, kButtons, callback);
}

void ShowMessageOK(const std::string& text, const char* callback) {
  static const char* const kButtons[] = {"Ok1", nullptr};
  ShowBox("MessageOK", "Label2", text, kButtons, callback);
}

bool AnswerYesNo(const N_GuiElement* clicked) {
  HidePageNow("MessageYesNo");
  return clicked && clicked->GetName() == "Yes1";
}

extern "C" void OKMsgClick(N_GuiElement*) { HidePageNow("MessageOK"); }
