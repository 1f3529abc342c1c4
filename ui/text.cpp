#include "text.h"

#include "utf.h"

namespace quorvane {

// wchar_t is a UTF-16 unit on Windows, so the two string types hold the same units.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring widen(std::string_view utf8) {
  const std::u16string utf16 = utf16FromUtf8(utf8);
  return std::wstring(utf16.begin(), utf16.end());
}

std::string narrow(std::wstring_view utf16) {
  return utf8FromUtf16(std::u16string(utf16.begin(), utf16.end()));
}

}  // namespace quorvane
