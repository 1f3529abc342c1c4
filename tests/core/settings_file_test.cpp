// "money.ini" on disk: where it is, the existence test, reading and writing keys, loading prices.
#include "settings_file.h"

#include <gtest/gtest.h>

#include "price_table.h"
#include "temp_folder.h"

namespace quorvane {
namespace {

using testing::makeReadOnly;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

const std::string kHeader = "[\xBC\xDB\xB8\xF1]\r\n";  // [价格]

TEST(DirectoryOfModulePath, CutsAtTheLastSeparator) {
  const Path sep(1, kPathSeparator);
  EXPECT_EQ(directoryOfModulePath(pathFromAscii("C:") + sep + pathFromAscii("q.exe")),
            pathFromAscii("C:"));
  EXPECT_EQ(directoryOfModulePath(pathFromAscii("C:") + sep + pathFromAscii("tools") + sep +
                                  pathFromAscii("q.exe")),
            pathFromAscii("C:") + sep + pathFromAscii("tools"));
  EXPECT_EQ(directoryOfModulePath(pathFromAscii("q.exe")), Path());
  EXPECT_EQ(directoryOfModulePath(Path()), Path());
}

#ifdef _WIN32
TEST(DirectoryOfModulePath, DoubleByteCharactersNeverHideASeparator) {
  // 乗 is 81 5C in code page 936: its second byte is a backslash. In UTF-16 it is one unit.
  EXPECT_EQ(directoryOfModulePath(L"D:\\\u4E57\\q.exe"), L"D:\\\u4E57");
  EXPECT_EQ(directoryOfModulePath(L"D:\\\u4E57.exe"), L"D:");
}
#endif

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixRunDirectory(folder.native());
    prices = PriceTable{};
  }
  void TearDown() override {
    fixRunDirectory(Path());
    prices = PriceTable{};
  }

  std::filesystem::path moneyIni() const { return folder / "money.ini"; }

  TempFolder folder;
};

TEST_F(SettingsFileTest, SettingsFilePathIsInTheRunDirectory) {
  EXPECT_EQ(std::filesystem::path(settingsFilePath()), moneyIni());
}

TEST_F(SettingsFileTest, ExistsOnlyAsAFile) {
  EXPECT_FALSE(settingsFileExists());
  std::filesystem::create_directory(moneyIni());
  EXPECT_FALSE(settingsFileExists()) << "a directory named money.ini counts as absent";
  std::filesystem::remove(moneyIni());
  writeFile(moneyIni(), "");
  EXPECT_TRUE(settingsFileExists()) << "an empty file counts as present";
}

TEST_F(SettingsFileTest, ReadsAsEmptyWhenMissing) {
  EXPECT_EQ(readIniText(settingsFilePath(), kPriceSection, "ht"), "");
  std::filesystem::create_directory(moneyIni());
  EXPECT_EQ(readIniText(settingsFilePath(), kPriceSection, "ht"), "");
}

TEST_F(SettingsFileTest, WritesCreateTheFileInKeyOrderWithCrLf) {
  for (const PriceKey& key : kPriceKeys) {
    ASSERT_TRUE(writeIniText(settingsFilePath(), kPriceSection, key.iniKey, key.iniKey));
  }
  EXPECT_EQ(readFile(moneyIni()), kHeader +
                                      "ht=ht\r\nby=by\r\nhj=hj\r\nbj=bj\r\nzs=zs\r\ndq=dq\r\n"
                                      "15=15\r\n14=14\r\n");
  EXPECT_EQ(readIniText(settingsFilePath(), kPriceSection, "dq"), "dq");
}

TEST_F(SettingsFileTest, WriteKeepsOtherLinesAndLeavesNoTemporaryFile) {
  writeFile(moneyIni(), "; prices\n[other]\nht=9\n\n[\xBC\xDB\xB8\xF1]\nht=1\n");
  ASSERT_TRUE(writeIniText(settingsFilePath(), kPriceSection, "ht", "5"));
  ASSERT_TRUE(writeIniText(settingsFilePath(), kPriceSection, "by", "6"));
  EXPECT_EQ(readFile(moneyIni()), "; prices\n[other]\nht=9\n\n[\xBC\xDB\xB8\xF1]\nht=5\nby=6\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST_F(SettingsFileTest, WriteFailsOnAReadOnlyFileAndADirectory) {
  writeFile(moneyIni(), kHeader + "ht=1\r\n");
  makeReadOnly(moneyIni());
  EXPECT_FALSE(writeIniText(settingsFilePath(), kPriceSection, "ht", "2"));
  EXPECT_EQ(readFile(moneyIni()), kHeader + "ht=1\r\n");
  // Nothing to change: the file already says so, and nothing is written.
  EXPECT_TRUE(writeIniText(settingsFilePath(), kPriceSection, "ht", "1"));

  const TempFolder other;
  fixRunDirectory(other.native());
  std::filesystem::create_directory(other / "money.ini");
  EXPECT_FALSE(writeIniText(settingsFilePath(), kPriceSection, "ht", "2"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(other.path()), {}), 1);
}

TEST_F(SettingsFileTest, UnicodeFilesWithAByteOrderMarkAreReadAndKeptInTheirForm) {
  // [价格] ht=７ in UTF-8 with its mark, as Notepad may save a hand edit.
  const std::string utf8 = "\xEF\xBB\xBF[\xE4\xBB\xB7\xE6\xA0\xBC]\r\nht=\xEF\xBC\x97\r\n";
  writeFile(moneyIni(), utf8);
  EXPECT_EQ(readIniText(settingsFilePath(), kPriceSection, "ht"), "\xA3\xB7");
  ASSERT_TRUE(writeIniText(settingsFilePath(), kPriceSection, "by", "8"));
  EXPECT_EQ(readFile(moneyIni()), utf8 + "by=8\r\n");

  // The same in UTF-16 LE: FF FE, then [ 价 格 ] LF h t = 9.
  const char utf16[] =
      "\xFF\xFE[\0\xF7\x4E\x3C\x68]\0\n\0h\0t\0=\0"
      "9\0";
  writeFile(moneyIni(), std::string(utf16, sizeof utf16 - 1));
  EXPECT_EQ(readIniText(settingsFilePath(), kPriceSection, "ht"), "9");
  ASSERT_TRUE(writeIniText(settingsFilePath(), kPriceSection, "ht", "1"));
  std::string rewritten(utf16, sizeof utf16 - 1);
  rewritten[rewritten.size() - 2] = '1';
  EXPECT_EQ(readFile(moneyIni()), rewritten);
}

struct LoadCase {
  const char* name;
  std::string file;
  PriceTable expected;
};

TEST_F(SettingsFileTest, LoadPricesFromFileVariants) {
  const LoadCase cases[] = {
      {"all eight keys",
       kHeader + "ht=1\r\nby=2\r\nhj=3\r\nbj=4\r\nzs=5\r\ndq=6\r\n15=7\r\n14=8\r\n",
       PriceTable{1, 2, 3, 4, 5, 7, 8, 6}},
      {"0-byte file", "", PriceTable{}},
      {"missing keys", kHeader + "hj=30\r\n14=8\r\n",
       PriceTable{.goldPrice = 30, .band0To14Surcharge = 8}},
      {"other section only", "[prices]\r\nht=1\r\n", PriceTable{}},
      {"full-width digits", kHeader + "ht=\xA3\xB1\xA3\xB5\xA3\xB0\r\n", PriceTable{150}},
      {"quoted value", kHeader + "ht=\"80\"\r\n", PriceTable{80}},
      {"3.5", kHeader + "ht=3.5\r\n", PriceTable{3}},
      {"abc", kHeader + "ht=abc\r\n", PriceTable{0}},
      {"-20", kHeader + "ht=-20\r\n", PriceTable{-20}},
      {"beyond 32 bits", kHeader + "ht=2147483648\r\nby=4294967297\r\nhj=99999999999\r\n",
       PriceTable{INT32_MIN, 1, static_cast<int32_t>(99999999999LL & 0xFFFFFFFF)}},
      {"lone minus and 1-2", kHeader + "ht=-\r\nby=1-2\r\n", PriceTable{0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(moneyIni(), c.file);
    prices = PriceTable{9, 9, 9, 9, 9, 9, 9, 9};
    int windowsShown = 0;
    loadPrices([&] { ++windowsShown; });
    EXPECT_EQ(windowsShown, 0);
    EXPECT_EQ(prices, c.expected);
  }
}

TEST_F(SettingsFileTest, LoadPricesShowsTheSettingsWindowWhileTheFileIsMissing) {
  prices = PriceTable{9, 9, 9, 9, 9, 9, 9, 9};
  int windowsShown = 0;
  // Closed without saving: still no file, every price 0.
  loadPrices([&] { ++windowsShown; });
  EXPECT_EQ(windowsShown, 1);
  EXPECT_EQ(prices, PriceTable{});

  // Saved: the prices that the window wrote are read once it has gone.
  loadPrices([&] {
    ++windowsShown;
    for (const PriceKey& key : kPriceKeys) {
      writeIniText(settingsFilePath(), kPriceSection, key.iniKey, "12");
    }
  });
  EXPECT_EQ(windowsShown, 2);
  EXPECT_EQ(prices, (PriceTable{12, 12, 12, 12, 12, 12, 12, 12}));

  // A directory of that name is no settings file either.
  std::filesystem::remove(moneyIni());
  std::filesystem::create_directory(moneyIni());
  loadPrices([&] { ++windowsShown; });
  EXPECT_EQ(windowsShown, 3);
  EXPECT_EQ(prices, PriceTable{});
}

}  // namespace
}  // namespace quorvane
