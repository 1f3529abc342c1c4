// The program's texts are UTF-8; Win32's wide functions take UTF-16. These two convert at that
// boundary and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace quorvane
