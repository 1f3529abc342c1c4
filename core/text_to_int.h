// The one rule by which a value text of "money.ini" becomes a price. It works on the code page
// 936 (GBK) bytes of the value, as the file stores them, and never fails.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

// Replaces the full-width forms that a hand-edited file may hold (digits, signs, the ideographic
// space, ...) by their ASCII bytes; every other character passes unchanged. A lead byte with no
// byte after it is dropped. The text ends at its first NUL byte.
std::string foldFullWidth(std::string_view gbk);

// Folds full-width forms, skips leading blanks, takes one optional sign and then decimal digits
// for as long as they last, keeping the low 32 bits of the total. No digit gives 0.
int32_t textToInt(std::string_view gbk);

}  // namespace quorvane
