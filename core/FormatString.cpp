#include "core/FormatString.h"

#include <cstdio>
#include <cstring>

std::string FormatString(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatStringV(format, args);
  va_end(args);
  return text;
}

std::string FormatStringV(const char* format, va_list args, std::size_t limit) {
  if (!format) return {};
  // Zero-filled, so a failed conversion leaves an empty text.
  std::string text(limit + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::string FormatConversions(const char* format) {
  std::string out;
  if (!format) return out;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    bool bad = false;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    while (*p && (std::strchr("0123456789.", *p) || *p == '*')) {
      if (*p == '*') bad = true;
      ++p;
    }
    std::string modifier;
    while (*p && std::strchr("hlLqjzt", *p)) modifier += *p++;
    char cls = '?';
    switch (*p) {
      case 'd': case 'i': cls = 'd'; break;
      case 'u': case 'x': case 'X': case 'o': cls = 'u'; break;
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': cls = 'f'; break;
      case 's': cls = 's'; break;
      case 'c': cls = 'c'; break;
      case 'p': cls = 'p'; break;
      default: cls = '?'; break;
    }
    // Length modifiers change the argument's size. Integers take none, 'h' or "hh" (the
    // int is read and narrowed); floating conversions none or 'l' ("%lf" is still a
    // double), never 'L' (a long double that was never passed); the rest none.
    bool fits = modifier.empty();
    if (cls == 'd' || cls == 'u') fits = modifier.empty() || modifier == "h" || modifier == "hh";
    if (cls == 'f') fits = modifier.empty() || modifier == "l";
    if (!fits) cls = '?';
    out += bad ? '?' : cls;
    if (!*p) break;
  }
  return out;
}

std::string FormatDataText(const char* text, const char* expected, ...) {
  if (!text) return {};
  const std::string have = FormatConversions(text);
  const std::string want = FormatConversions(expected);
  const bool fits = have.size() <= want.size() && have.find('?') == std::string::npos &&
                    want.compare(0, have.size(), have) == 0;
  if (!fits) return text;
  va_list args;
  va_start(args, expected);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, text, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), text, args);
    out.resize(static_cast<std::size_t>(n));
  }
  va_end(args);
  return out;
}
