#include "platform/win32/Keyboard.h"

#include "platform/dinput8/Keys.h"
#include "platform/dinput8/ScanCodes.h"
#include "platform/dinput8/Source.h"

#include <SDL.h>

#include <array>
#include <cstring>

namespace {

constexpr HKL kDesktopLayout = 0x04090409;

struct DikVk {
  BYTE dik;
  BYTE vk;
};

// Keys whose virtual key does not follow from the layout's character: everything but
// the letters, digits and punctuation of the main block (filled in by MakeVkTable).
constexpr DikVk kFixedKeys[] = {
    {DIK_ESCAPE, VK_ESCAPE},      {DIK_BACK, VK_BACK},         {DIK_TAB, VK_TAB},
    {DIK_RETURN, VK_RETURN},      {DIK_LCONTROL, VK_CONTROL},  {DIK_LSHIFT, VK_SHIFT},
    {DIK_RSHIFT, VK_SHIFT},       {DIK_MULTIPLY, VK_MULTIPLY}, {DIK_LMENU, VK_MENU},
    {DIK_SPACE, VK_SPACE},        {DIK_CAPITAL, VK_CAPITAL},   {DIK_NUMLOCK, VK_NUMLOCK},
    {DIK_SCROLL, VK_SCROLL},      {DIK_NUMPAD7, VK_HOME},      {DIK_NUMPAD8, VK_UP},
    {DIK_NUMPAD9, VK_PRIOR},      {DIK_SUBTRACT, VK_SUBTRACT}, {DIK_NUMPAD4, VK_LEFT},
    {DIK_NUMPAD5, VK_CLEAR},      {DIK_NUMPAD6, VK_RIGHT},     {DIK_ADD, VK_ADD},
    {DIK_NUMPAD1, VK_END},        {DIK_NUMPAD2, VK_DOWN},      {DIK_NUMPAD3, VK_NEXT},
    {DIK_NUMPAD0, VK_INSERT},     {DIK_DECIMAL, VK_DELETE},    {DIK_OEM_102, VK_OEM_102},
    {DIK_F11, VK_F1 + 10},        {DIK_F12, VK_F1 + 11},       {DIK_F13, VK_F1 + 12},
    {DIK_F14, VK_F1 + 13},        {DIK_F15, VK_F1 + 14},       {DIK_NUMPADENTER, VK_RETURN},
    {DIK_RCONTROL, VK_CONTROL},   {DIK_DIVIDE, VK_DIVIDE},     {DIK_SYSRQ, VK_SNAPSHOT},
    {DIK_RMENU, VK_MENU},         {DIK_PAUSE, VK_PAUSE},       {DIK_HOME, VK_HOME},
    {DIK_UP, VK_UP},              {DIK_PRIOR, VK_PRIOR},       {DIK_LEFT, VK_LEFT},
    {DIK_RIGHT, VK_RIGHT},        {DIK_END, VK_END},           {DIK_DOWN, VK_DOWN},
    {DIK_NEXT, VK_NEXT},          {DIK_INSERT, VK_INSERT},     {DIK_DELETE, VK_DELETE},
    {DIK_LWIN, VK_LWIN},          {DIK_RWIN, VK_RWIN},         {DIK_APPS, VK_APPS},
};

// The punctuation keys by their unshifted and shifted US characters.
struct Punctuation {
  BYTE vk;
  char plain;
  char shifted;
};
constexpr Punctuation kPunctuation[] = {
    {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},    {VK_OEM_102, '\\', '|'},
};

// The US layout's main block, row by row from the digits: the character of each DIK code.
constexpr char kUsRows[] = "\0\0" "1234567890-=\0\0" "qwertyuiop[]\0\0" "asdfghjkl;'`\0\\" "zxcvbnm,./";

BYTE VkOfCharacter(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<BYTE>(c - 'a' + 'A');
  if (c >= '0' && c <= '9') return static_cast<BYTE>(c);
  for (const Punctuation& p : kPunctuation) {
    if (p.plain == c && p.vk != VK_OEM_102) return p.vk;
  }
  return 0;
}

std::array<BYTE, 256> MakeVkTable() {
  std::array<BYTE, 256> vk{};
  for (std::size_t dik = 0; dik < sizeof kUsRows - 1; ++dik) vk[dik] = VkOfCharacter(kUsRows[dik]);
  for (const DikVk& k : kFixedKeys) vk[k.dik] = k.vk;
  for (int f = 0; f < 10; ++f) vk[DIK_F1 + f] = static_cast<BYTE>(VK_F1 + f);
  return vk;
}

const std::array<BYTE, 256>& UsVkTable() {
  static const std::array<BYTE, 256> table = MakeVkTable();
  return table;
}

/// The virtual key of a DIK code under the desktop's layout: a main-block key takes
/// the character SDL's key map gives it; without a video system the US layout holds.
BYTE VkOfDik(BYTE dik) {
  const BYTE us = UsVkTable()[dik];
  const bool mainBlock = dik < sizeof kUsRows - 1 && kUsRows[dik] != '\0';
  if (!mainBlock || SDL_WasInit(SDL_INIT_VIDEO) == 0) return us;
  const SDL_Keycode key = SDL_GetKeyFromScancode(platform::dinput::ScancodeFromDik(dik));
  const BYTE fromLayout = key > 0 && key < 128 ? VkOfCharacter(static_cast<char>(key)) : 0;
  return fromLayout ? fromLayout : us;
}

/// The side-specific code of a modifier key, or 0.
BYTE SidedVk(BYTE dik) {
  switch (dik) {
    case DIK_LSHIFT: return VK_LSHIFT;
    case DIK_RSHIFT: return VK_RSHIFT;
    case DIK_LCONTROL: return VK_LCONTROL;
    case DIK_RCONTROL: return VK_RCONTROL;
    case DIK_LMENU: return VK_LMENU;
    case DIK_RMENU: return VK_RMENU;
    default: return 0;
  }
}

char Character(UINT vk, bool shift, bool caps) {
  if (vk >= 'A' && vk <= 'Z') {
    const char lower = static_cast<char>(vk - 'A' + 'a');
    return shift != caps ? static_cast<char>(vk) : lower;
  }
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : static_cast<char>(vk);
  if (vk >= VK_NUMPAD0 && vk < VK_NUMPAD0 + 10) return static_cast<char>('0' + (vk - VK_NUMPAD0));
  for (const Punctuation& p : kPunctuation) {
    if (p.vk == vk) return shift ? p.shifted : p.plain;
  }
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_TAB: return '\t';
    case VK_BACK: return '\b';
    case VK_ESCAPE: return 0x1B;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    default: return 0;
  }
}

}  // namespace

HKL GetKeyboardLayout(DWORD) { return kDesktopLayout; }

BOOL GetKeyboardState(BYTE state[256]) {
  if (!state) return FALSE;
  std::memset(state, 0, 256);
  BYTE keys[256];
  const platform::dinput::InputSource& source = platform::dinput::ActiveSource();
  source.ReadKeys(keys);
  for (int dik = 1; dik < 256; ++dik) {
    if (!keys[dik]) continue;
    if (const BYTE vk = VkOfDik(static_cast<BYTE>(dik))) state[vk] = 0x80;
    if (const BYTE sided = SidedVk(static_cast<BYTE>(dik))) state[sided] = 0x80;
  }
  if (source.CapsLockOn()) state[VK_CAPITAL] |= 0x01;
  return TRUE;
}

UINT MapVirtualKeyExA(UINT code, UINT mapType, HKL) {
  if (mapType != MAPVK_VSC_TO_VK || code > 0xFF) return 0;
  return VkOfDik(static_cast<BYTE>(code));
}

int ToAsciiEx(UINT virtualKey, UINT scanCode, const BYTE* keyState, WORD* out, UINT, HKL) {
  if (!keyState || !out || (scanCode & 0x8000) || virtualKey > 0xFF) return 0;
  const bool shift = keyState[VK_SHIFT] & 0x80;
  const bool ctrl = keyState[VK_CONTROL] & 0x80;
  const bool alt = keyState[VK_MENU] & 0x80;
  const bool caps = keyState[VK_CAPITAL] & 0x01;
  char c = 0;
  if (ctrl && alt) {
    c = 0;  // AltGr characters lie outside the 8-bit texts the game keeps
  } else if (ctrl) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') c = static_cast<char>(virtualKey - 'A' + 1);
    if (virtualKey == VK_SPACE) c = ' ';
  } else {
    c = Character(virtualKey, shift, caps);
  }
  if (c == 0) return 0;
  *out = static_cast<WORD>(static_cast<unsigned char>(c));
  return 1;
}
