#pragma once
// The Windows-shaped services the engine calls, implemented over SDL2 and POSIX.
#include "platform/win32/Clock.h"
#include "platform/win32/Cursor.h"
#include "platform/win32/Debug.h"
#include "platform/win32/Display.h"
#include "platform/win32/Files.h"
#include "platform/win32/Hooks.h"
#include "platform/win32/Keyboard.h"
#include "platform/win32/Process.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/Types.h"
#include "platform/win32/Window.h"
#include "platform/win32/WindowPlacement.h"
