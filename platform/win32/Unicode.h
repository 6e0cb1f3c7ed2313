#pragma once
// Text conversion between the engine's 8-bit texts and UTF-16. On Linux the process's
// code page is UTF-8, so CP_ACP and CP_UTF8 both read UTF-8.
#include "platform/win32/Types.h"

#include <string>
#include <string_view>

using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPCSTR = const char*;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;

/// Converts `srcLen` bytes of `src` (-1: up to and with the terminating zero) to UTF-16.
/// With `dstLen` 0 returns the number of WCHARs needed; otherwise writes at most
/// `dstLen` and returns the number written, or 0 when the buffer is too small, the
/// code page is not CP_ACP/CP_UTF8, or (with MB_ERR_INVALID_CHARS) the input is not
/// valid UTF-8. Invalid bytes become U+FFFD otherwise.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcLen, LPWSTR dst, int dstLen);

namespace platform {

/// UTF-16 up to its terminating zero (or `maxLen` units) to UTF-8; lone surrogates
/// become U+FFFD.
std::string Utf16ToUtf8(const char16_t* text, std::size_t maxLen = std::u16string::npos);

}  // namespace platform
