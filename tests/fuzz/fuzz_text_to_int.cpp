// Any bytes through the value rule: it must never crash, read out of bounds or overflow
// undefinedly, and a value that is plain ASCII digits must read as their low 32 bits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text_to_int.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t value = quorvane::textToInt(text);
  const std::string folded = quorvane::foldFullWidth(text);
  if (folded.size() > text.size()) std::abort();  // folding never lengthens a text
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos) {
    uint32_t expected = 0;
    for (const char c : text) expected = expected * 10 + static_cast<uint32_t>(c - '0');
    if (value != static_cast<int32_t>(expected)) std::abort();
  }
  return 0;
}
