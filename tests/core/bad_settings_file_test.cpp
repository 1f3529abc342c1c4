// "money.ini" as a user's machine may have it: odd bytes, odd encodings, huge files, files and
// folders that cannot be written, folder names outside code page 936, long paths. Whatever it is,
// loading never crashes or hangs and ends with the prices the rule gives; a save (the eight
// writes of the price settings window) either works and reads back, or fails leaving the file.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "price_table.h"
#include "settings_file.h"
#include "temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quorvane {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

namespace fs = std::filesystem;

const std::string kSection = "[\xBC\xDB\xB8\xF1]";  // [价格]
const PriceTable kSaved{11, 22, 33, 44, 55, 77, 88, 66};

// The save of the price settings window: the eight keys in order, all of them, whatever fails.
bool saveEightPrices() {
  const char* values[] = {"11", "22", "33", "44", "55", "66", "77", "88"};
  bool allWritten = true;
  for (size_t i = 0; i < kPriceKeys.size(); ++i) {
    allWritten &= writeIniText(settingsFilePath(), kPriceSection, kPriceKeys[i].iniKey, values[i]);
  }
  return allWritten;
}

PriceTable loadedPrices() {
  prices = PriceTable{9, 9, 9, 9, 9, 9, 9, 9};
  loadPrices([] {});
  return prices;
}

std::string randomBytes(size_t size) {
  std::mt19937 random(1211);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  std::replace(bytes.begin(), bytes.end(), '[', '(');  // no section at all
  return bytes;
}

std::string utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string fiftyMegabytes() {
  std::string text;
  text.reserve(50u << 20);
  const std::string comment = "; " + std::string(1000, 'x') + "\r\n";
  while (text.size() + comment.size() < (50u << 20) - 100) text += comment;
  return text + kSection + "\r\nht=10\r\n14=8\r\n";
}

struct BadFileCase {
  const char* name;
  std::function<void(const fs::path& moneyIni)> make;
  PriceTable loaded;
  bool saved;  // the save succeeds; then the eight saved prices read back
};

class BadSettingsFile : public ::testing::TestWithParam<BadFileCase> {
 protected:
  void TearDown() override {
    fixRunDirectory(Path());
    prices = PriceTable{};
  }
};

TEST_P(BadSettingsFile, LoadsWhatTheRuleGivesAndSavesOrFailsCleanly) {
  const BadFileCase& c = GetParam();
  const TempFolder folder;
  fixRunDirectory(folder.native());
  const fs::path moneyIni = folder / "money.ini";
  c.make(moneyIni);

  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(loadedPrices(), c.loaded);
  const std::string before = fs::is_regular_file(moneyIni) ? readFile(moneyIni) : "";
  EXPECT_EQ(saveEightPrices(), c.saved);
  if (c.saved) {
    EXPECT_EQ(loadedPrices(), kSaved);
  } else if (fs::is_regular_file(moneyIni)) {
    EXPECT_EQ(readFile(moneyIni), before) << "a failed save leaves the file as it was";
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60)) << "no hang";
}

void writeBytes(const fs::path& file, const std::string& bytes) { writeFile(file, bytes); }

const BadFileCase kCases[] = {
    {"ZeroBytes", [](const fs::path& f) { writeBytes(f, ""); }, PriceTable{}, true},
    {"RandomBinary", [](const fs::path& f) { writeBytes(f, randomBytes(4096)); }, PriceTable{},
     true},
    {"NulBytesInside",
     [](const fs::path& f) {
       writeBytes(f, kSection + std::string("\r\nht=1\0"
                                            "2\r\nby=\0"
                                            "7\r\nhj=3\r\n",
                                            23));
     },
     PriceTable{.bronzePrice = 1, .goldPrice = 3}, true},
    {"Utf8ByteOrderMark",
     [](const fs::path& f) {
       writeBytes(
           f, "\xEF\xBB\xBF[\xE4\xBB\xB7\xE6\xA0\xBC]\r\nht=10\r\nby=\xEF\xBC\x92\xEF\xBC\x90\r\n");
     },
     PriceTable{.bronzePrice = 10, .silverPrice = 20}, true},
    {"Utf16LeByteOrderMark",
     [](const fs::path& f) { writeBytes(f, utf16Le(u"[价格]\r\nht=10\r\nzs=-5\r\n")); },
     PriceTable{.bronzePrice = 10, .diamondPrice = -5}, true},
    {"CrOnlyLineEnds", [](const fs::path& f) { writeBytes(f, kSection + "\rht=10\rby=20\r"); },
     PriceTable{.bronzePrice = 10, .silverPrice = 20}, true},
    {"LfOnlyLineEnds", [](const fs::path& f) { writeBytes(f, kSection + "\nht=10\nby=20\n"); },
     PriceTable{.bronzePrice = 10, .silverPrice = 20}, true},
    {"TenKilobyteValue",
     [](const fs::path& f) {
       writeBytes(f, kSection + "\r\nht=" + std::string(10240, '1') + "\r\n");
     },
     // 10239 ones, the low 32 bits of their value.
     PriceTable{.bronzePrice =
                    [] {
                      uint32_t total = 0;
                      for (int i = 0; i < 10239; ++i) total = total * 10 + 1;
                      return static_cast<int32_t>(total);
                    }()},
     true},
    {"FiftyMegabytes", [](const fs::path& f) { writeBytes(f, fiftyMegabytes()); },
     PriceTable{.bronzePrice = 10, .band0To14Surcharge = 8}, true},
    {"DuplicateSectionsAndKeys",
     [](const fs::path& f) {
       writeBytes(f, kSection + "\r\nht=1\r\nht=2\r\n" + kSection + "\r\nby=3\r\n");
     },
     PriceTable{.bronzePrice = 1}, true},
    {"NoSection", [](const fs::path& f) { writeBytes(f, "ht=1\r\nby=2\r\n"); }, PriceTable{}, true},
    {"DirectoryOfThatName", [](const fs::path& f) { fs::create_directory(f); }, PriceTable{},
     false},
    {"ReadOnlyFile",
     [](const fs::path& f) {
       writeBytes(f, kSection + "\r\nht=10\r\n");
       testing::makeReadOnly(f);
     },
     PriceTable{.bronzePrice = 10}, false},
};

INSTANTIATE_TEST_SUITE_P(MoneyIni, BadSettingsFile, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class SettingsFolder : public ::testing::Test {
 protected:
  void TearDown() override { fixRunDirectory(Path()); }

  // Saves into `folder`, then loads from it.
  static void expectSaveAndLoad(const fs::path& folder) {
    fixRunDirectory(folder.native());
    EXPECT_EQ(loadedPrices(), PriceTable{});
    EXPECT_TRUE(saveEightPrices());
    EXPECT_TRUE(settingsFileExists());
    EXPECT_EQ(loadedPrices(), kSaved);
  }
};

TEST_F(SettingsFolder, NameWithCharactersOutsideCodePage936) {
  const TempFolder root;
  const fs::path folder =
      root.path() / fs::path(u8"报价 \U0001F600 \u00F0\u0E01");  // emoji, ð, Thai
  fs::create_directory(folder);
  expectSaveAndLoad(folder);
}

TEST_F(SettingsFolder, PathLongerThan260Characters) {
  const TempFolder root;
  fs::path folder = root.path();
  std::vector<fs::path> levels;
  while (folder.native().size() < 300) levels.push_back(folder /= std::string(40, 'q'));
  for (const fs::path& level : levels) {
#ifdef _WIN32
    // Beyond MAX_PATH, Windows takes a path only in its "\\?\" form.
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + level.native()).c_str(), nullptr));
#else
    fs::create_directory(level);
#endif
  }
  ASSERT_GT((folder / "money.ini").native().size(), 260u);
  expectSaveAndLoad(folder);
#ifdef _WIN32
  // Cleared the same way, deepest first, so that the temporary folder can go.
  ::DeleteFileW((L"\\\\?\\" + (folder / "money.ini").native()).c_str());
  for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
    ::RemoveDirectoryW((L"\\\\?\\" + level->native()).c_str());
  }
#endif
}

#ifdef _WIN32
// Wine takes long paths in any form; Windows only in the "\\?\" form.
TEST(LongPaths, TakeTheExtendedFormBeyondMaxPath) {
  const std::wstring longName(300, L'q');
  EXPECT_EQ(withLongPathPrefix(L"C:\\q\\money.ini"), L"C:\\q\\money.ini");
  EXPECT_EQ(withLongPathPrefix(L"C:\\" + longName), L"\\\\?\\C:\\" + longName);
  EXPECT_EQ(withLongPathPrefix(L"\\\\server\\share\\" + longName),
            L"\\\\?\\UNC\\server\\share\\" + longName);
  EXPECT_EQ(withLongPathPrefix(L"\\\\?\\C:\\" + longName), L"\\\\?\\C:\\" + longName);
}
#endif

TEST_F(SettingsFolder, ReadOnlyFolder) {
  const TempFolder root;
  const fs::path folder = root / "locked";
  fs::create_directory(folder);
#ifdef _WIN32
  // Windows does not stop a program from creating files in a folder marked read-only (the mark
  // only means something to the shell): the save works.
  ASSERT_TRUE(::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_READONLY));
  expectSaveAndLoad(folder);
#else
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  fixRunDirectory(folder.native());
  // Without write access the save fails and nothing is left behind; root has access anyway.
  EXPECT_EQ(saveEightPrices(), ::geteuid() == 0);
  if (::geteuid() != 0) {
    EXPECT_FALSE(settingsFileExists());
    EXPECT_TRUE(fs::is_empty(folder));
  }
#endif
}

}  // namespace
}  // namespace quorvane
