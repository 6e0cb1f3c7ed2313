#include "platform/win32/Unicode.h"

#include <cstring>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

/// Decodes one UTF-8 sequence at `pos`; advances `pos` and returns the code point,
/// or kReplacement (with `bad` set) for a malformed sequence.
char32_t DecodeUtf8(std::string_view s, std::size_t& pos, bool& bad) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(pos);
  int extra = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07;
  } else {
    ++pos;
    bad = true;
    return kReplacement;
  }
  std::size_t i = pos + 1;
  for (int k = 0; k < extra; ++k, ++i) {
    if (i >= s.size() || (byte(i) & 0xC0) != 0x80) {
      pos = i;
      bad = true;
      return kReplacement;
    }
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  pos = i;
  const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    bad = true;
    return kReplacement;
  }
  return cp;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcLen, LPWSTR dst, int dstLen) {
  if (!src || srcLen == 0 || srcLen < -1 || dstLen < 0 || (dstLen > 0 && !dst)) return 0;
  if (codePage != CP_ACP && codePage != CP_UTF8) return 0;
  // -1 converts the terminating zero as well, like the Windows call.
  const std::size_t length = srcLen == -1 ? std::strlen(src) + 1 : static_cast<std::size_t>(srcLen);
  const std::string_view text(src, length);
  std::u16string wide;
  bool bad = false;
  for (std::size_t pos = 0; pos < text.size();) AppendUtf16(wide, DecodeUtf8(text, pos, bad));
  if (bad && (flags & MB_ERR_INVALID_CHARS)) return 0;
  if (dstLen == 0) return static_cast<int>(wide.size());
  if (wide.size() > static_cast<std::size_t>(dstLen)) return 0;
  std::memcpy(dst, wide.data(), wide.size() * sizeof(WCHAR));
  return static_cast<int>(wide.size());
}

namespace platform {

std::string Utf16ToUtf8(const char16_t* text, std::size_t maxLen) {
  std::string out;
  if (!text) return out;
  for (std::size_t i = 0; i < maxLen && text[i] != 0; ++i) {
    char32_t cp = text[i];
    const bool high = cp >= 0xD800 && cp <= 0xDBFF;
    const bool low = cp >= 0xDC00 && cp <= 0xDFFF;
    if (high && i + 1 < maxLen && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (high || low) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace platform
