#include "text_to_int.h"

namespace quorvane {

namespace {

// The single byte that a double-byte character folds to, or 0 when it stays as it is.
char foldedByte(unsigned char lead, unsigned char trail) {
  if (lead == 0xA1) {
    switch (trail) {
      case 0xA1: return ' ';  // ideographic space
      case 0xAB: return '~';  // full-width tilde
      case 0xEE:              // white star
      case 0xEF: return '*';  // black star
      default: return 0;
    }
  }
  // Row A3 holds the full-width forms of ASCII 0x21..0x7E in ASCII order.
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  return 0;
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::string foldFullWidth(std::string_view gbk) {
  gbk = gbk.substr(0, gbk.find('\0'));
  std::string folded;
  folded.reserve(gbk.size());
  for (size_t i = 0; i < gbk.size(); ++i) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    if (lead < 0x80) {
      folded += gbk[i];
      continue;
    }
    if (i + 1 == gbk.size()) break;  // a lone lead byte at the end is dropped
    const auto trail = static_cast<unsigned char>(gbk[++i]);
    if (const char single = foldedByte(lead, trail)) {
      folded += single;
    } else {
      folded += static_cast<char>(lead);
      folded += static_cast<char>(trail);
    }
  }
  return folded;
}

int32_t textToInt(std::string_view gbk) {
  const std::string folded = foldFullWidth(gbk);
  size_t i = 0;
  while (i < folded.size() && isBlank(folded[i])) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '-' || folded[i] == '+')) negative = folded[i++] == '-';
  // Unsigned arithmetic wraps by definition: only the low 32 bits of the total remain.
  uint32_t total = 0;
  for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
    total = total * 10 + static_cast<uint32_t>(folded[i] - '0');
  }
  return static_cast<int32_t>(negative ? 0u - total : total);
}

}  // namespace quorvane
