// Our INI reader and writer against the platform's own private-profile functions: one table of
// files and operations, run through both, with the same results required. Runs under Wine with
// code page 936.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <variant>
#include <vector>

#include "price_table.h"
#include "settings_file.h"
#include "temp_folder.h"

namespace quorvane {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

const std::string kSection(kPriceSection);
const std::string kHeader = "[" + kSection + "]\r\n";

struct Write {
  std::string key;
  std::string value;
  std::string section = kSection;
};

struct ConformanceCase {
  const char* name;
  std::optional<std::string> file;  // none: no file at first
  std::vector<Write> writes;
  // Keys read back after the writes, from both files with both readers; by default the eight
  // price keys of the price section.
  std::vector<std::pair<std::string, std::string>> reads = {};
};

std::vector<std::pair<std::string, std::string>> priceKeyReads() {
  std::vector<std::pair<std::string, std::string>> reads;
  for (const PriceKey& key : kPriceKeys) reads.emplace_back(kSection, std::string(key.iniKey));
  return reads;
}

std::vector<Write> toolSave(const std::vector<std::string>& values) {
  std::vector<Write> writes;
  for (size_t i = 0; i < kPriceKeys.size(); ++i) {
    writes.push_back({std::string(kPriceKeys[i].iniKey), values[i]});
  }
  return writes;
}

std::string platformRead(const std::filesystem::path& file, const std::string& section,
                         const std::string& key) {
  std::string buffer(10240, '\0');
  const DWORD n =
      ::GetPrivateProfileStringA(section.c_str(), key.c_str(), nullptr, buffer.data(),
                                 static_cast<DWORD>(buffer.size()), file.string().c_str());
  buffer.resize(n);
  return buffer;
}

bool platformWrite(const std::filesystem::path& file, const Write& w) {
  return ::WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(),
                                      file.string().c_str()) != 0;
}

void PrintTo(const ConformanceCase& c, std::ostream* os) { *os << c.name; }

// The comment lines of a text (first non-blank character ";").
std::vector<std::string> commentLines(const std::string& text) {
  std::vector<std::string> comments;
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
    const std::string line = text.substr(begin, end - begin);
    if (const size_t first = line.find_first_not_of(" \t");
        first != std::string::npos && line[first] == ';') {
      comments.push_back(line);
    }
    begin = end + 1;
  }
  return comments;
}

class IniConformance : public ::testing::TestWithParam<ConformanceCase> {};

TEST_P(IniConformance, SameResultsAsThePlatform) {
  ASSERT_EQ(::GetACP(), 936u) << "the conformance test needs the zh_CN locale (code page 936)";
  const ConformanceCase& c = GetParam();
  const TempFolder folder;
  std::filesystem::create_directory(folder / "ours");
  std::filesystem::create_directory(folder / "platform");
  const auto ours = folder / "ours" / "money.ini";
  const auto platform = folder / "platform" / "money.ini";
  if (c.file) {
    writeFile(ours, *c.file);
    writeFile(platform, *c.file);
  }
  for (const Write& w : c.writes) {
    SCOPED_TRACE("write " + w.key + "=" + w.value);
    EXPECT_EQ(writeIniText(ours.native(), w.section, w.key, w.value), platformWrite(platform, w));
  }
  if (!c.file) {
    EXPECT_EQ(readFile(ours), readFile(platform))
        << "a file written from scratch is byte-identical";
  } else {
    for (const std::string& comment : commentLines(*c.file)) {
      EXPECT_NE(readFile(ours).find(comment), std::string::npos) << "comment kept: " << comment;
    }
  }
  // Each reader on each file: our file must mean to the platform what its own file means.
  const auto reads = c.reads.empty() ? priceKeyReads() : c.reads;
  for (const auto& [section, key] : reads) {
    SCOPED_TRACE("read " + key);
    const std::string expected = platformRead(platform, section, key);
    EXPECT_EQ(readIniText(ours.native(), section, key), expected);
    EXPECT_EQ(readIniText(platform.native(), section, key), expected);
    EXPECT_EQ(platformRead(ours, section, key), expected);
  }
}

const std::string kFullWidth12 = "\xA3\xB1\xA3\xB2";  // １２

const ConformanceCase kCases[] = {
    // What the tool writes from scratch: byte-identical files.
    {"ToolSaveDigits", std::nullopt, toolSave({"10", "20", "30", "40", "50", "5", "3", "8"})},
    {"ToolSaveOddTexts", std::nullopt,
     toolSave({"-", "1-2", "007", "-20", kFullWidth12, "abc", "3.5", "999"})},
    {"OneKeyFromScratch", std::nullopt, {{"14", "1"}}},
    {"TwoSectionsFromScratch",
     std::nullopt,
     {{"ht", "1"}, {"x", "2", "other"}, {"by", "3"}},
     {{kSection, "ht"}, {kSection, "by"}, {"other", "x"}}},
    {"RewriteSameKeys", std::nullopt,
     [] {
       auto w = toolSave({"1", "2", "3", "4", "5", "6", "7", "8"});
       auto again = toolSave({"11", "22", "33", "44", "55", "66", "77", "88"});
       w.insert(w.end(), again.begin(), again.end());
       return w;
     }()},
    // Hand-edited files: the same values read back, before and after the tool's writes.
    {"QuotesAndBlanks",
     kHeader + "ht = \"80\"\r\n  by\t=\t'70'  \r\nhj=\"60\r\nbj=\" 5 \"\r\nzs=''\r\n",
     {}},
    {"UpperCaseNames", "[" + kSection + "]\r\nHT=1\r\nBy=2\r\n",
     toolSave({"5", "6", "7", "8", "9", "1", "2", "3"})},
    {"MissingKeys", kHeader + "hj=30\r\n", {{"ht", "1"}, {"14", "2"}}},
    {"MissingSection", "[other]\r\nht=9\r\n", {{"ht", "1"}}, {{kSection, "ht"}, {"other", "ht"}}},
    {"OtherSectionsAndCommentsKept",
     "; prices for the shop\r\n[other]\r\nx=1\r\n\r\n" + kHeader +
         ";note\r\nht=1\r\n\r\n[tail]\r\ny=2",
     toolSave({"5", "6", "7", "8", "9", "1", "2", "3"}),
     {{kSection, "ht"},
      {kSection, "14"},
      {"other", "x"},
      {"tail", "y"},
      {"other", "; prices for the shop"}}},
    {"DuplicateSectionsAndKeys",
     kHeader + "ht=1\r\nht=2\r\n" + kHeader + "by=3\r\n",
     {{"ht", "5"}, {"by", "6"}}},
    {"BlankSectionName", "[ " + kSection + " ]\r\nht=4\r\n", {{"by", "5"}}},
    {"LfAndCrLineEnds", "[" + kSection + "]\nht=1\rby=2\r\nhj=3", {{"bj", "4"}}},
    {"KeyWithoutValue", kHeader + "ht\r\nby=\r\n", {{"ht", "7"}}},
    {"ValueWithEqualsSign", kHeader + "ht=1=2\r\n", {}},
    {"FullWidthValue", kHeader + "ht=" + kFullWidth12 + "\r\n", {{"by", kFullWidth12}}},
    {"EmptyFile", "", toolSave({"1", "2", "3", "4", "5", "6", "7", "8"})},
    {"Utf8WithByteOrderMark",
     "\xEF\xBB\xBF[\xE4\xBB\xB7\xE6\xA0\xBC]\r\nht=\xEF\xBC\x91\r\n",
     {{"by", "2"}}},
    {"LongValueIsCut", kHeader + "ht=" + std::string(10300, '7') + "\r\n", {}},
};

INSTANTIATE_TEST_SUITE_P(Files, IniConformance, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniConformanceFailures, AWriteFailsWhereThePlatformsWriteFails) {
  const TempFolder folder;
  const auto directory = folder / "money.ini";
  std::filesystem::create_directory(directory);
  EXPECT_FALSE(platformWrite(directory, {"ht", "1"}));
  EXPECT_FALSE(writeIniText(directory.native(), kPriceSection, "ht", "1"));

  // Windows refuses to write a read-only file; Wine running as root writes it anyway, so only
  // our side is checked here.
  const auto readOnly = folder / "readonly.ini";
  writeFile(readOnly, kHeader + "ht=1\r\n");
  testing::makeReadOnly(readOnly);
  ASSERT_TRUE(::GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(writeIniText(readOnly.native(), kPriceSection, "ht", "2"));
  EXPECT_EQ(readFile(readOnly), kHeader + "ht=1\r\n");
}

}  // namespace
}  // namespace quorvane
