// The price settings window's handlers: saving, the empty-field check, typing rules, resetting,
// and saves that cannot be written.
#include <gtest/gtest.h>

#include <cstring>

#include "window_test_support.h"

namespace quorvane {
namespace {

using testing::MessageBoxCatcher;
using testing::runSoon;

const std::string kSavedFile =
    "[\xBC\xDB\xB8\xF1]\r\nht=10\r\nby=20\r\nhj=30\r\nbj=40\r\nzs=50\r\ndq=5\r\n15=3\r\n14=8\r\n";
const std::array<std::string, 8> kTypedPrices{"10", "20", "30", "40", "50", "5", "3", "8"};

class PriceSettingsWindowTest : public testing::WindowTest {
 protected:
  // Opens the window modally, runs `actions` inside its modal run, and closes it afterwards if
  // the actions left it open. Returns once the window has gone.
  static void inSettingsWindow(std::function<void()> actions) {
    runSoon([actions = std::move(actions)] {
      actions();
      runSoon([] {
        if (const HWND w = windowHandle(priceSettingsWindow())) ::PostMessageW(w, WM_CLOSE, 0, 0);
      });
    });
    showSettingsWindow();
  }
  static bool settingsOpen() { return windowHandle(priceSettingsWindow()) != nullptr; }
};

TEST_F(PriceSettingsWindowTest, SaveWritesEveryKeyInOrderLoadsThePricesAndThenCloses) {
  bool openWhenTheHandlerReturned = false;
  inSettingsWindow([&] {
    fillPriceFields(kTypedPrices);
    click(settingsControl("按钮1"));
    openWhenTheHandlerReturned = settingsOpen();
  });
  EXPECT_TRUE(openWhenTheHandlerReturned) << "destroyed only after the handler has returned";
  EXPECT_FALSE(settingsOpen());
  EXPECT_EQ(testing::readFile(moneyIni()), kSavedFile);
  EXPECT_EQ(prices, testing::kExamplePrices);
}

TEST_F(PriceSettingsWindowTest, FieldsAreSavedAsTyped) {
  inSettingsWindow([] {
    fillPriceFields({"-", "1-2", "007", "-20", "\xEF\xBC\x91\xEF\xBC\x92", "abc", "999", "-1"});
    click(settingsControl("按钮1"));
  });
  // "１２" (pasted full-width digits) is stored in code page 936 and reads back as 12.
  EXPECT_EQ(testing::readFile(moneyIni()),
            "[\xBC\xDB\xB8\xF1]\r\nht=-\r\nby=1-2\r\nhj=007\r\nbj=-20\r\nzs=\xA3\xB1\xA3\xB2\r\n"
            "dq=abc\r\n15=999\r\n14=-1\r\n");
  EXPECT_EQ(prices, (PriceTable{0, 1, 7, -20, 12, 999, -1, 0}));
}

TEST_F(PriceSettingsWindowTest, AnEmptyFieldGivesOneMessageAndWritesNothing) {
  struct Case {
    const char* name;
    std::vector<std::string_view> emptyFields;
  } const cases[] = {
      {"only the diamond price", {"编辑框_钻石价"}},
      {"only the last field", {"编辑框_14胜点价"}},
      {"two fields", {"编辑框_黄铜价", "编辑框_15胜点价"}},
      {"all fields",
       {"编辑框_黄铜价", "编辑框_白银价", "编辑框_黄金价", "编辑框_铂金价", "编辑框_钻石价",
        "编辑框_大区加价", "编辑框_15胜点价", "编辑框_14胜点价"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageBoxCatcher catcher;
    bool stillOpen = false;
    std::string keptText;
    inSettingsWindow([&] {
      fillPriceFields(kTypedPrices);
      for (const std::string_view name : c.emptyFields) setWindowText(settingsControl(name), "");
      click(settingsControl("按钮1"));
      stillOpen = settingsOpen();
      keptText = windowText(settingsControl("编辑框_黄金价"));
    });
    ASSERT_EQ(catcher.seen().size(), 1u);
    EXPECT_EQ(catcher.seen()[0].text, L"有必填项未填写！");
    EXPECT_EQ(catcher.seen()[0].title, L"信息：");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(keptText, c.emptyFields.size() == 8 ? "" : "30") << "the fields keep their texts";
    EXPECT_FALSE(std::filesystem::exists(moneyIni()));
  }
}

TEST_F(PriceSettingsWindowTest, AFieldWithOnlyAMinusSignIsNotEmpty) {
  MessageBoxCatcher catcher;
  inSettingsWindow([] {
    fillPriceFields({"-", "-", "-", "-", "-", "-", "-", "-"});
    click(settingsControl("按钮1"));
  });
  EXPECT_TRUE(catcher.seen().empty());
  EXPECT_TRUE(std::filesystem::exists(moneyIni()));
  EXPECT_EQ(prices, PriceTable{});
}

TEST_F(PriceSettingsWindowTest, TypedCharactersAreFilteredAndCutPastedTextOnlyCut) {
  std::string typed, afterFourth, pasted;
  inSettingsWindow([&] {
    const HWND edit = settingsControl("编辑框_黄铜价");
    ::SetFocus(edit);
    for (const WORD key : {WORD{'A'}, WORD{VK_OEM_PERIOD}, WORD{'1'}, WORD{VK_SPACE},
                           WORD{VK_OEM_MINUS}, WORD{'2'}}) {
      testing::pressKey(key);
    }
    testing::pumpUntil([&] { return windowText(edit).size() == 3; }, 2000);
    typed = windowText(edit);
    testing::pressKey('7');
    testing::pumpFor(50);
    afterFourth = windowText(edit);

    const HWND other = settingsControl("编辑框_白银价");
    ::OpenClipboard(other);
    ::EmptyClipboard();
    const std::wstring text = L"ab12";
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
    ::SendMessageW(other, WM_PASTE, 0, 0);
    pasted = windowText(other);
  });
  EXPECT_EQ(typed, "1-2") << "letters, points and blanks are dropped; digits and '-' kept";
  EXPECT_EQ(afterFourth, "1-2") << "a fourth character is refused";
  EXPECT_EQ(pasted, "ab1") << "pasted text is not filtered, only cut to three characters";
}

TEST_F(PriceSettingsWindowTest, ResetEmptiesEveryFieldAndTouchesNoFile) {
  MessageBoxCatcher catcher;
  std::vector<std::string> afterReset;
  inSettingsWindow([&] {
    fillPriceFields(kTypedPrices);
    click(settingsControl("按钮2"));
    for (const PriceField& f : kPriceFields)
      afterReset.push_back(windowText(settingsControl(f.editBox)));
    click(settingsControl("按钮1"));
  });
  EXPECT_EQ(afterReset, std::vector<std::string>(8, ""));
  EXPECT_FALSE(std::filesystem::exists(moneyIni()));
  ASSERT_EQ(catcher.seen().size(), 1u);
  EXPECT_EQ(catcher.seen()[0].text, L"有必填项未填写！");
}

TEST_F(PriceSettingsWindowTest, ASaveThatCannotBeWrittenLeavesTheWindowOpenWithoutAMessage) {
  MessageBoxCatcher catcher;
  bool stillOpen = false;
  inSettingsWindow([&] {
    std::filesystem::create_directory(moneyIni());  // a folder of that name cannot be written
    fillPriceFields(kTypedPrices);
    click(settingsControl("按钮1"));
    testing::pumpFor(20);
    stillOpen = settingsOpen();
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(catcher.seen().empty());
  EXPECT_EQ(prices, PriceTable{});
}

// A save in which an earlier write failed is no success either, even when the last one worked:
// here "money.ini" turned read-only and already holds 14=8, so only that write succeeds.
TEST_F(PriceSettingsWindowTest, ASaveWithAnyFailedWriteLeavesTheWindowOpenAndReloadsNothing) {
  bool stillOpen = false;
  inSettingsWindow([&] {
    writeSettings("[\xBC\xDB\xB8\xF1]\r\n14=8\r\n");
    testing::makeReadOnly(moneyIni());
    fillPriceFields(kTypedPrices);
    click(settingsControl("按钮1"));
    testing::pumpFor(20);
    stillOpen = settingsOpen();
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(prices, PriceTable{}) << "nothing reloaded";
  EXPECT_EQ(testing::readFile(moneyIni()), "[\xBC\xDB\xB8\xF1]\r\n14=8\r\n");
}

TEST_F(PriceSettingsWindowTest, EveryOpeningStartsWithEmptyFields) {
  inSettingsWindow([] {
    fillPriceFields(kTypedPrices);
    click(settingsControl("按钮1"));
  });
  std::filesystem::remove(moneyIni());
  std::vector<std::string> fields;
  inSettingsWindow([&] {
    for (const PriceField& f : kPriceFields)
      fields.push_back(windowText(settingsControl(f.editBox)));
  });
  EXPECT_EQ(fields, std::vector<std::string>(8, ""));
}

}  // namespace
}  // namespace quorvane
