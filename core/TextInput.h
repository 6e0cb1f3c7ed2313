#pragma once
// The text-entry buffer of the input manager: this frame's key presses become edited
// text for the GUI's edit boxes (which enable it, limit it, fill it and clear it).
// Owned by N_InputMng; fed by N_InputMng::Update with every key-down DIK code in order.
#include <cstdint>

class N_TextInput {
 public:
  static constexpr int kCapacity = 2048;          ///< bytes, NUL included
  static constexpr int kMaxLength = kCapacity - 1;

  N_TextInput();

  /// Edits the text for one key-down: arrows, Home, End, Delete and Backspace move or
  /// delete; a key that gives a printable character under the current system key
  /// state (Shift, Caps Lock) inserts it at the cursor. Nothing while disabled.
  void OnKeyDown(std::uint32_t dik);

  const char* GetText() const { return m_text; }
  /// Copies at most 2047 characters (null = empty); the cursor goes to the end.
  void SetText(const char* text);
  int GetCursor() const { return m_cursor; }
  /// -1 for no limit.
  void SetMaxLength(int n) { m_maxLength = n; }
  void SetEnabled(bool enabled) { m_enabled = enabled; }
  void ClearText();

 private:
  void Insert(char c);
  void EraseAt(int pos);

  char m_text[kCapacity];
  std::int32_t m_length;
  std::int32_t m_cursor;  ///< 0..length
  bool m_enabled = false;
  std::int32_t m_maxLength = -1;
};
