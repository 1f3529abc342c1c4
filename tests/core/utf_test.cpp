// UTF-8 <-> UTF-16, the boundary between the program's texts and the wide Win32 functions.
#include "utf.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(Utf, RoundTripsChineseAndCharactersOutsideTheBasicPlane) {
  const std::string text = "计算 QQ: 从 英勇黄铜五 \xF0\x9F\x98\x80 \xF0\xA0\x80\x80";  // 😀 𠀀
  const std::u16string wide = utf16FromUtf8(text);
  EXPECT_EQ(wide, u"计算 QQ: 从 英勇黄铜五 \U0001F600 \U00020000");
  EXPECT_EQ(utf8FromUtf16(wide), text);
}

TEST(Utf, InvalidInputBecomesReplacementCharacters) {
  struct Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
  } const cases[] = {
      {"stray continuation byte",
       "a\x80"
       "b",
       u"a\uFFFDb"},
      {"truncated sequence at the end", "a\xE4\xBB", u"a\uFFFD"},
      {"truncated sequence before ASCII",
       "\xE4\xBB"
       "b",
       u"\uFFFDb"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"overlong three-byte form", "\xE0\x80\xAF", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"invalid lead bytes", "\xFE\xFF", u"\uFFFD\uFFFD"},
      {"GBK bytes read as UTF-8", "\xBC\xDB\xB8\xF1", u"\uFFFD\u06F8\uFFFD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf16FromUtf8(c.utf8), c.utf16);
  }
  EXPECT_EQ(utf8FromUtf16(u"a\xD800"
                          "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(utf8FromUtf16(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace quorvane
