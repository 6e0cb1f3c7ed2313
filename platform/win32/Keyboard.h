#pragma once
// The system keyboard calls behind text entry: the key state with modifiers and lock
// toggles, and the translation of a scan code to a character through the keyboard
// layout. Scan codes here are DIK codes (platform/dinput8/Keys.h). The layout is the
// desktop's (SDL's key map) for which key gives which letter, digit or US punctuation;
// shifted symbols follow the US layout.
#include "platform/win32/Types.h"

/// A keyboard layout handle (there is one: the desktop's).
using HKL = std::int32_t;

constexpr UINT MAPVK_VSC_TO_VK = 1;

// Virtual-key codes the layer produces.
constexpr BYTE VK_BACK = 0x08;
constexpr BYTE VK_TAB = 0x09;
constexpr BYTE VK_CLEAR = 0x0C;
constexpr BYTE VK_RETURN = 0x0D;
constexpr BYTE VK_SHIFT = 0x10;
constexpr BYTE VK_CONTROL = 0x11;
constexpr BYTE VK_MENU = 0x12;
constexpr BYTE VK_PAUSE = 0x13;
constexpr BYTE VK_CAPITAL = 0x14;
constexpr BYTE VK_ESCAPE = 0x1B;
constexpr BYTE VK_SPACE = 0x20;
constexpr BYTE VK_PRIOR = 0x21;
constexpr BYTE VK_NEXT = 0x22;
constexpr BYTE VK_END = 0x23;
constexpr BYTE VK_HOME = 0x24;
constexpr BYTE VK_LEFT = 0x25;
constexpr BYTE VK_UP = 0x26;
constexpr BYTE VK_RIGHT = 0x27;
constexpr BYTE VK_DOWN = 0x28;
constexpr BYTE VK_SNAPSHOT = 0x2C;
constexpr BYTE VK_INSERT = 0x2D;
constexpr BYTE VK_DELETE = 0x2E;
constexpr BYTE VK_LWIN = 0x5B;
constexpr BYTE VK_RWIN = 0x5C;
constexpr BYTE VK_APPS = 0x5D;
constexpr BYTE VK_NUMPAD0 = 0x60;
constexpr BYTE VK_MULTIPLY = 0x6A;
constexpr BYTE VK_ADD = 0x6B;
constexpr BYTE VK_SUBTRACT = 0x6D;
constexpr BYTE VK_DECIMAL = 0x6E;
constexpr BYTE VK_DIVIDE = 0x6F;
constexpr BYTE VK_F1 = 0x70;
constexpr BYTE VK_NUMLOCK = 0x90;
constexpr BYTE VK_SCROLL = 0x91;
constexpr BYTE VK_LSHIFT = 0xA0;
constexpr BYTE VK_RSHIFT = 0xA1;
constexpr BYTE VK_LCONTROL = 0xA2;
constexpr BYTE VK_RCONTROL = 0xA3;
constexpr BYTE VK_LMENU = 0xA4;
constexpr BYTE VK_RMENU = 0xA5;
constexpr BYTE VK_OEM_1 = 0xBA;       ///< ;:
constexpr BYTE VK_OEM_PLUS = 0xBB;    ///< =+
constexpr BYTE VK_OEM_COMMA = 0xBC;   ///< ,<
constexpr BYTE VK_OEM_MINUS = 0xBD;   ///< -_
constexpr BYTE VK_OEM_PERIOD = 0xBE;  ///< .>
constexpr BYTE VK_OEM_2 = 0xBF;       ///< /?
constexpr BYTE VK_OEM_3 = 0xC0;       ///< `~
constexpr BYTE VK_OEM_4 = 0xDB;       ///< [{
constexpr BYTE VK_OEM_5 = 0xDC;       ///< \|
constexpr BYTE VK_OEM_6 = 0xDD;       ///< ]}
constexpr BYTE VK_OEM_7 = 0xDE;       ///< '"
constexpr BYTE VK_OEM_102 = 0xE2;     ///< the ISO key beside left Shift

/// The layout of a thread (any thread: there is one layout).
HKL GetKeyboardLayout(DWORD thread);
/// The key state by virtual key, from the active input source: 0x80 held, and bit 0 of
/// VK_CAPITAL the Caps Lock toggle. Left/right modifiers set their own code and the
/// shared one. Always succeeds.
BOOL GetKeyboardState(BYTE state[256]);
/// Mode MAPVK_VSC_TO_VK: the virtual key of a scan code (shared codes for left/right
/// Shift, Ctrl and Alt; the numpad digits give the navigation keys, as with Num Lock
/// off); 0 for an unknown code. Other modes are not supported (0).
UINT MapVirtualKeyExA(UINT code, UINT mapType, HKL layout);
/// The character of a virtual key under a key state: 1 with *out set, or 0 when the key
/// gives none. Shift and Caps Lock select the case; Ctrl with a letter gives its control
/// character (1-26). A scan code with bit 15 set (a release) gives none.
int ToAsciiEx(UINT virtualKey, UINT scanCode, const BYTE* keyState, WORD* out, UINT flags, HKL layout);
