#pragma once
// The choices of a set-up page (arcade, single race, time attack) as the race's result
// handlers read them when a race is over: selected indices of the image and text
// selectors, the selected row of the athlete table and the text of the name box, by
// element name. An element the page scripts lack (or of another class) is noted, not
// reported, so that the handler that needs it logs one line of its own (LogMissing).
#include <cstdint>
#include <string>

class N_GuiEditBox;

class N_SetupPage {
 public:
  /// The selected picture of an image selector (or scroller); -1 when missing.
  std::int32_t Image(const char* name);
  /// The selected item of a text selector; -1 when missing.
  std::int32_t Item(const char* name);
  /// The selected row of a table; -1 when missing or none is selected.
  std::int32_t Row(const char* name);
  /// The name box, or null when missing.
  N_GuiEditBox* EditBox(const char* name);

  /// Whether every element asked for exists.
  bool Complete() const { return m_missing.empty(); }
  /// The first element asked for that does not exist; empty when none.
  const std::string& Missing() const { return m_missing; }
  /// One line: "<who>: the set-up page has no element <name>, <what>".
  void LogMissing(const char* who, const char* what) const;

 private:
  template <class T>
  T* Find(const char* name);

  std::string m_missing;
};
