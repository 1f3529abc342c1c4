// Reading and editing INI text in memory, as the private-profile functions do.
#include "ini_text.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

constexpr std::string_view kSection = "\xBC\xDB\xB8\xF1";  // 价格 in code page 936

std::string lookup(std::string_view text, std::string_view key,
                   std::string_view section = kSection) {
  return iniLookup(text, TextEncoding::Gbk, section, key);
}

TEST(IniLookup, HandEditedFiles) {
  struct Case {
    const char* name;
    std::string text;
    const char* key;
    std::string expected;
  } const cases[] = {
      {"plain", "[\xBC\xDB\xB8\xF1]\r\nht=10\r\n", "ht", "10"},
      {"missing key", "[\xBC\xDB\xB8\xF1]\r\nht=10\r\n", "by", ""},
      {"missing section", "[other]\r\nht=10\r\n", "ht", ""},
      {"key before any section", "ht=10\r\n[\xBC\xDB\xB8\xF1]\r\n", "ht", ""},
      {"empty text", "", "ht", ""},
      {"blanks around names and value", "  [\xBC\xDB\xB8\xF1]  \n  ht \t=  10 \t\n", "ht", "10"},
      {"blanks inside the brackets", "[ \xBC\xDB\xB8\xF1 ]\nht=10\n", "ht", "10"},
      {"upper-case key", "[\xBC\xDB\xB8\xF1]\nHT=10\n", "ht", "10"},
      {"double quotes", "[\xBC\xDB\xB8\xF1]\nht=\"80\"\n", "ht", "80"},
      {"single quotes", "[\xBC\xDB\xB8\xF1]\nht='80'\n", "ht", "80"},
      {"quotes and blanks", "[\xBC\xDB\xB8\xF1]\nht =  \" 80 \"  \n", "ht", " 80 "},
      {"unmatched quotes stay", "[\xBC\xDB\xB8\xF1]\nht=\"80'\n", "ht", "\"80'"},
      {"a lone quote stays", "[\xBC\xDB\xB8\xF1]\nht=\"\n", "ht", "\""},
      {"only one pair removed", "[\xBC\xDB\xB8\xF1]\nht=\"\"80\"\"\n", "ht", "\"80\""},
      {"first key wins", "[\xBC\xDB\xB8\xF1]\nht=1\nht=2\n", "ht", "1"},
      {"only the first section counts", "[\xBC\xDB\xB8\xF1]\nht=1\n[\xBC\xDB\xB8\xF1]\nby=2\n",
       "by", ""},
      {"other sections around", "[a]\nht=1\n[\xBC\xDB\xB8\xF1]\nht=2\n[b]\nht=3\n", "ht", "2"},
      {"key without equals sign", "[\xBC\xDB\xB8\xF1]\nht\nht=5\n", "ht", ""},
      {"empty value", "[\xBC\xDB\xB8\xF1]\nht=\n", "ht", ""},
      {"comment line", "[\xBC\xDB\xB8\xF1]\n;ht=1\nht=2\n", "ht", "2"},
      {"value with equals sign", "[\xBC\xDB\xB8\xF1]\nht=1=2\n", "ht", "1=2"},
      {"CR-only line ends", "[\xBC\xDB\xB8\xF1]\rht=1\rby=2\r", "by", "2"},
      {"LF-only line ends", "[\xBC\xDB\xB8\xF1]\nht=1\nby=2", "by", "2"},
      {"no line end at all", "[\xBC\xDB\xB8\xF1]", "ht", ""},
      {"DOS end-of-file mark", "[\xBC\xDB\xB8\xF1]\nht=7\x1A", "ht", "7"},
      {"NUL ends the value",
       std::string("[\xBC\xDB\xB8\xF1]\nht=4\0"
                   "2\n",
                   15),
       "ht", "4"},
      {"full-width value", "[\xBC\xDB\xB8\xF1]\nht=\xA3\xB1\xA3\xB5\xA3\xB0\n", "ht",
       "\xA3\xB1\xA3\xB5\xA3\xB0"},
      {"ideographic space is not a blank",
       "[\xBC\xDB\xB8\xF1]\nht=\xA1\xA1"
       "5\n",
       "ht",
       "\xA1\xA1"
       "5"},
      {"section without closing bracket", "[\xBC\xDB\xB8\xF1\nht=1\n", "ht", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(lookup(c.text, c.key), c.expected);
  }
}

TEST(IniLookup, DoubleByteCharactersAreWholeCharacters) {
  // 81 5D is one character of code page 936: its trail byte is "]" and must not end the name.
  EXPECT_EQ(lookup("[\x81\x5D]\nk=1\n", "k", "\x81\x5D"), "1");
  // Trail bytes that look like letters are not folded: 81 41 and 81 61 are different characters.
  EXPECT_EQ(lookup("[\x81\x41]\nk=1\n", "k", "\x81\x61"), "");
  // In UTF-8 every byte of a multi-byte character is 0x80 or above, so "]" is always "]".
  EXPECT_EQ(iniLookup("[\xE4\xBB\xB7\xE6\xA0\xBC]\nk=1\n", TextEncoding::Utf8,
                      "\xE4\xBB\xB7\xE6\xA0\xBC", "k"),
            "1");
}

TEST(IniLookup, ManyKeysInOnePassGiveWhatEachLookupGives) {
  const std::string text =
      "[other]\nht=9\n[\xBC\xDB\xB8\xF1]\nBY=2\nht='1'\nht=3\n;x=4\nzs\n[\xBC\xDB\xB8\xF1]\nhj=5\n";
  const std::string_view keys[] = {"ht", "by", "hj", "zs", "", "ht"};
  const std::vector<std::string> values = iniLookupAll(text, TextEncoding::Gbk, kSection, keys);
  ASSERT_EQ(values.size(), std::size(keys));
  for (size_t i = 0; i < std::size(keys); ++i) {
    SCOPED_TRACE(keys[i]);
    EXPECT_EQ(values[i], lookup(text, keys[i]));
  }
  EXPECT_EQ(values, (std::vector<std::string>{"1", "2", "", "", "", "1"}));
}

TEST(IniLookup, LongValuesAreCut) {
  const std::string longValue(12000, '7');
  const std::string text = "[\xBC\xDB\xB8\xF1]\nht=" + longValue + "\n";
  EXPECT_EQ(lookup(text, "ht"), std::string(kMaxIniValueLength, '7'));
}

struct AssignCase {
  const char* name;
  std::string before;
  const char* key;
  const char* value;
  std::string after;
};

TEST(IniAssign, WritesAsThePlatformDoes) {
  const std::string s = "[\xBC\xDB\xB8\xF1]";
  const AssignCase cases[] = {
      {"from scratch", "", "ht", "10", s + "\r\nht=10\r\n"},
      {"key added at the end of its section", s + "\r\nht=1\r\n", "by", "2",
       s + "\r\nht=1\r\nby=2\r\n"},
      {"key added before the next section and blank lines", s + "\r\nht=1\r\n\r\n[b]\r\nx=1\r\n",
       "by", "2", s + "\r\nht=1\r\nby=2\r\n\r\n[b]\r\nx=1\r\n"},
      {"key added after a last line without line end", s + "\r\nht=1", "by", "2",
       s + "\r\nht=1\r\nby=2\r\n"},
      {"key added to an empty section", s + "\r\n", "by", "2", s + "\r\nby=2\r\n"},
      {"value replaced where it stands", s + "\r\nht=1\r\nby=2\r\n", "ht", "30",
       s + "\r\nht=30\r\nby=2\r\n"},
      {"hand-edited line keeps its name and line end", s + "\n  HT  =  \"80\"  \nzs=5\n", "ht",
       "11", s + "\n  HT  =11\nzs=5\n"},
      {"key without equals sign gets one", s + "\nht\n", "ht", "3", s + "\nht=3\n"},
      {"first of two keys replaced", s + "\nht=1\nht=2\n", "ht", "3", s + "\nht=3\nht=2\n"},
      {"section added after other text", "; note\r\n[a]\r\nx=1", "ht", "3",
       "; note\r\n[a]\r\nx=1\r\n" + s + "\r\nht=3\r\n"},
      {"comments and other sections kept", "; c\r\n[a]\r\nx=1\r\n" + s + "\r\n;c2\r\nht=1\r\n",
       "ht", "2", "; c\r\n[a]\r\nx=1\r\n" + s + "\r\n;c2\r\nht=2\r\n"},
      {"empty value", "", "ht", "", s + "\r\nht=\r\n"},
      {"value cut at a line break", "", "ht", "1\r\n[x]", s + "\r\nht=1\r\n"},
      {"full-width value stored as typed", "", "ht", "\xA3\xB1", s + "\r\nht=\xA3\xB1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(iniAssign(c.before, TextEncoding::Gbk, kSection, c.key, c.value), c.after);
  }
}

TEST(IniAssign, TheToolsEightWritesGiveTheFileInKeyOrder) {
  std::string text;
  const char* keys[] = {"ht", "by", "hj", "bj", "zs", "dq", "15", "14"};
  for (const char* key : keys) text = iniAssign(text, TextEncoding::Gbk, kSection, key, "-1");
  EXPECT_EQ(text,
            "[\xBC\xDB\xB8\xF1]\r\nht=-1\r\nby=-1\r\nhj=-1\r\nbj=-1\r\nzs=-1\r\ndq=-1\r\n"
            "15=-1\r\n14=-1\r\n");
  // Writing them again changes nothing.
  for (const char* key : keys) {
    EXPECT_EQ(iniAssign(text, TextEncoding::Gbk, kSection, key, "-1"), text);
    EXPECT_EQ(lookup(text, key), "-1");
  }
}

}  // namespace
}  // namespace quorvane
