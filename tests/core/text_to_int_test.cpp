// The rule by which a value text of "money.ini" becomes a price.
#include "text_to_int.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

struct TextToIntCase {
  const char* name;
  std::string text;  // code page 936 bytes
  int32_t expected;
};

TEST(TextToInt, ExamplesOfTheRule) {
  const TextToIntCase cases[] = {
      {"letters", "abc", 0},
      {"empty", "", 0},
      {"fraction dropped", "12.9", 12},
      {"no exponent", "1e3", 1},
      {"trailing letters", "12abc", 12},
      {"plus sign", "+7", 7},
      {"minus sign", "-5", -5},
      {"blank after the sign", "- 5", 0},
      {"no hexadecimal", "0x10", 0},
      {"leading zeros", "007", 7},
      {"wraps to the lowest value", "2147483648", -2147483648},
      {"keeps the low 32 bits", "4294967297", 1},
      {"full-width digits", "\xA3\xB1\xA3\xB2", 12},  // １２
      {"ideographic space then full-width digits", "\xA1\xA1\xA3\xB1\xA3\xB2", 12},
      {"full-width minus", "\xA3\xAD\xA3\xB2\xA3\xB0", -20},  // －２０
      {"full-width plus",
       "\xA3\xAB"
       "5",
       5},
      {"leading blanks of every kind", " \t\n\v\f\r42", 42},
      {"one sign at most", "--5", 0},
      {"sign after blanks", "  -20", -20},
      {"quoted value is not a number", "\"80\"", 0},
      {"lone minus", "-", 0},
      {"minus between digits", "1-2", 1},
      {"lowest value spelled out", "-2147483648", -2147483648},
      {"largest value", "2147483647", 2147483647},
      {"lone lead byte at the end", "7\xA3", 7},
      {"Chinese text before digits",
       "\xBC\xDB"
       "5",
       0},  // 价5
      {"ends at a NUL byte",
       std::string("4\0"
                   "2",
                   3),
       4},
      {"star is not a digit",
       "\xA1\xEE"
       "1",
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(textToInt(c.text), c.expected);
  }
}

TEST(FoldFullWidth, FoldsTheFullWidthRowAndLeavesOtherCharacters) {
  EXPECT_EQ(foldFullWidth("\xA3\xB0\xA3\xB9\xA3\xAB\xA3\xAD\xA3\xC1\xA3\xFE"), "09+-A~");
  EXPECT_EQ(foldFullWidth("\xA1\xA1\xA1\xAB\xA1\xEE\xA1\xEF"), " ~**");
  // 价 (BC DB) and a double-byte character whose trail byte looks like ASCII stay as they are.
  EXPECT_EQ(foldFullWidth("\xBC\xDB\x81\x40"), "\xBC\xDB\x81\x40");
  // A3 A0 lies below the full-width row: not folded.
  EXPECT_EQ(foldFullWidth("\xA3\xA0"), "\xA3\xA0");
  // A lead byte swallows the next byte, even a digit: the pair is one character.
  EXPECT_EQ(textToInt("\x81"
                      "5"),
            0);
  EXPECT_EQ(foldFullWidth("1\xA3"), "1");
}

}  // namespace
}  // namespace quorvane
