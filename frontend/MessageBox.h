#pragma once
// The two shared message boxes: "MessageYesNo" (text "Label1", buttons "Yes1" and
// "No1") and "MessageOK" (text "Label2", button "Ok1"). A box keeps no state of its own:
// its text is its label's caption and its answer the onclick binding of its buttons,
// so opening a box again replaces both. The pages are modal (their scripts say so): no
// page below takes a click until the answer.
//
// An answer callback is an exported function named "cb" and what it does, taking the
// clicked button: a yes/no answer hides "MessageYesNo" and acts only for "Yes1". A
// name that nothing exports leaves the buttons bound to nothing.
#include "gui/GuiElement.h"

#include <string>

void ShowMessageYesNo(const std::string& text, const char* callback);
void ShowMessageOK(const std::string& text, const char* callback);

/// The answer callbacks' common start: hides "MessageYesNo" at once and tells whether
/// the answer was "Yes1".
bool AnswerYesNo(const N_GuiElement* clicked);

extern "C" {
/// The OK box's plain answer: hides "MessageOK".
void OKMsgClick(N_GuiElement* element);
}
