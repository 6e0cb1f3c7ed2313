#pragma once
// The career profile page "CareerProfile" and its attribute page "CareerAttributes":
// in set-up mode (the slot selector "Profile1" visible) the player picks a slot, an
// athlete, a difficulty and a name and spends the 660 attribute points; in view mode
// (made by the career main page) both pages only show the running career. Also the
// special player name's bonus.
#include <string_view>

class N_GuiElement;
class N_GuiPage;

namespace career {

/// Whether a name is the special name, in any mix of cases (the whole name only).
bool IsSpecialName(std::string_view name);
/// The special name's bonus on the current profile: the special dress for a female
/// career (when the dress file is there) and every attribute, ceiling and the
/// freshness at 100.0. Called each time the career main page is shown.
void ApplySpecialName();
/// Starts the career of the current profile: `started`, the first season and week, the
/// profile saved, then the career main page in place of the profile pages.
void StartNewCareer();
/// The set-up look of the profile page: its caption and the set-up elements shown.
void RestoreProfileSetUpLook();
/// The view look of a running career: the caption of "#str229" and the set-up
/// elements (the slot, the browsing and set-up buttons, the points left with their
/// labels) hidden.
void ShowProfileViewLook();

}  // namespace career

extern "C" {
void CareerProfileShow(N_GuiPage* page);
void CareerProfileClick(N_GuiElement* element);
void cbResetProfile(N_GuiElement* element);
void CareerEnter(N_GuiElement* element);
void CareerExit(N_GuiElement* element);
void CareerAttributesShow(N_GuiPage* page);
void CareerAttributesDown(N_GuiElement* element);
void CareerChangeClick(N_GuiElement* element);
void cbUnusedPoints(N_GuiElement* element);
}
