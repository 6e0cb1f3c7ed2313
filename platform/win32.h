#pragma once
// The Windows-shaped services the engine calls, implemented over SDL2 and POSIX.
#include "platform/win32/Debug.h"
#include "platform/win32/Files.h"
#include "platform/win32/Keyboard.h"
#include "platform/win32/Types.h"
