#pragma once
// printf-style formatting into texts.
#include <cstdarg>
#include <cstddef>
#include <string>

/// A new text formatted printf-style; at most 1023 characters.
[[gnu::format(printf, 1, 2)]] std::string FormatString(const char* format, ...);

/// FormatString with the arguments in a va_list; at most `limit` characters (the rest
/// is cut), and the text ends at an embedded '\0' as a C string would.
[[gnu::format(printf, 1, 0)]] std::string FormatStringV(const char* format, va_list args, std::size_t limit = 1023);

/// Formats a text that comes from data (a string table, a script) with arguments whose
/// conversions the caller states, e.g. FormatDataText(text, "%d%s", n, name). The text
/// is used as a format only when each of its conversions matches the expected one at
/// its place (it may use fewer); otherwise the text is returned unformatted, so a bad
/// translation can never read an argument of the wrong type.
std::string FormatDataText(const char* text, const char* expected, ...);

/// The conversion letters of a printf format, normalised to one letter per argument
/// class ('d' integers, 'u' unsigned, 'f' floating, 's' texts, 'c' characters, 'p'
/// pointers); "%%" is skipped; a '*' width, "%n", an unknown conversion or a length
/// modifier that changes the argument's type (anything but 'h'/"hh" on integers and
/// 'l' on floating conversions) gives '?'.
std::string FormatConversions(const char* format);
