// UTF-8 <-> UTF-16, the one conversion between the program's texts and Win32's wide texts.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// Invalid UTF-8 (stray or missing continuation bytes, overlong forms, surrogates, values beyond
// U+10FFFF) becomes U+FFFD, one for each maximal invalid part.
std::u16string utf16FromUtf8(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string utf8FromUtf16(std::u16string_view utf16);

}  // namespace quorvane
