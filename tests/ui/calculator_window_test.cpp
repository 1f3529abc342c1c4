// The calculator window's handlers: loading prices when it is created, and the click of "计算".
#include <gtest/gtest.h>

#include "window_test_support.h"

namespace quorvane {
namespace {

using testing::kExamplePrices;
using testing::MessageBoxCatcher;
using testing::runSoon;

constexpr char kFromSilverThreeToGoldFour[] = "从 不屈白银三 代练至 荣耀黄金四 需要：";

class CalculatorWindowTest : public testing::WindowTest {
 protected:
  void loadCalculator() { ASSERT_TRUE(loadWindow(calculatorWindow(), nullptr, false)); }

  // Selections: current tier, current level, target tier, target level, region; -1 is none.
  static void select(const std::array<int, 5>& indices) {
    const char* lists[] = {"组合框_当前段位", "组合框_当前级别", "组合框_目标段位",
                           "组合框_目标级别", "组合框_大区"};
    for (size_t i = 0; i < indices.size(); ++i) {
      ::SendMessageW(calculatorControl(lists[i]), CB_SETCURSEL, static_cast<WPARAM>(indices[i]), 0);
    }
  }
  static std::string output() { return windowText(calculatorControl("编辑框1")); }

  // Clicks "计算"; a price settings window that opens is closed without saving, and noted.
  bool clickCalculateClosingSettings() {
    bool settingsOpened = false;
    runSoon([&] {
      if (const HWND settings = windowHandle(priceSettingsWindow())) {
        settingsOpened = true;
        ::PostMessageW(settings, WM_CLOSE, 0, 0);
      }
    });
    click(calculatorControl("按钮1"));
    testing::pumpFor(10);
    return settingsOpened;
  }
};

TEST_F(CalculatorWindowTest, LoadsThePricesWhenCreated) {
  writeSettings();
  loadCalculator();
  EXPECT_EQ(prices, kExamplePrices);
  EXPECT_TRUE(::IsWindowVisible(windowHandle(calculatorWindow())));
  EXPECT_EQ(windowHandle(priceSettingsWindow()), nullptr);
}

TEST_F(CalculatorWindowTest, StartsWithNoSelectionsEighteenPlusOnAndAnEmptyOutputBox) {
  writeSettings();
  loadCalculator();
  for (const char* list : {"组合框_当前段位", "组合框_当前级别", "组合框_目标段位",
                           "组合框_目标级别", "组合框_大区"}) {
    EXPECT_EQ(selectedIndex(calculatorControl(list)), -1) << list;
    EXPECT_EQ(windowText(calculatorControl(list)), "") << list;
  }
  EXPECT_TRUE(isChecked(calculatorControl("单选框_18以上")));
  EXPECT_FALSE(isChecked(calculatorControl("单选框_15")));
  EXPECT_FALSE(isChecked(calculatorControl("单选框_14")));
  EXPECT_EQ(output(), "");
  DWORD start = 1, end = 1;
  ::SendMessageW(calculatorControl("编辑框1"), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

struct ClickCase {
  const char* name;
  bool settingsFile;
  std::array<int, 5> selections;
  const char* radio;  // clicked before "计算"; nullptr keeps 18以上
  std::string output;
  bool message;
  bool settingsWindow;
};

TEST_F(CalculatorWindowTest, ClickOfCalculate) {
  const std::string line100 = std::string(kFromSilverThreeToGoldFour) + "100元。\r\n";
  const ClickCase cases[] = {
      {"nothing selected", true, {-1, -1, -1, -1, -1}, nullptr, "", true, false},
      {"only the region missing", true, {1, 2, 2, 1, -1}, nullptr, "", true, false},
      {"only the target tier missing", true, {1, 2, -1, 1, 1}, nullptr, "", true, false},
      {"only the current level missing", true, {1, -1, 2, 1, 1}, nullptr, "", true, false},
      {"settings missing, all selected", false, {1, 2, 2, 1, 1}, nullptr, "", false, true},
      {"settings missing, nothing selected", false, {-1, -1, -1, -1, -1}, nullptr, "", false, true},
      {"the same position", true, {2, 3, 2, 3, 1}, nullptr, "", false, false},
      {"a lower level of the same tier", true, {2, 3, 2, 1, 0}, nullptr, "", false, false},
      {"a lower tier", true, {3, 0, 2, 4, 0}, nullptr, "", false, false},
      {"worked example, 18以上", true, {1, 2, 2, 1, 1}, nullptr, line100, false, false},
      {"worked example, 15-17",
       true,
       {1, 2, 2, 1, 1},
       "单选框_15",
       std::string(kFromSilverThreeToGoldFour) + "103元。\r\n",
       false,
       false},
      {"worked example, 0-14",
       true,
       {1, 2, 2, 1, 1},
       "单选框_14",
       std::string(kFromSilverThreeToGoldFour) + "108元。\r\n",
       false,
       false},
      {"premium region",
       true,
       {1, 2, 2, 1, 0},
       nullptr,
       std::string(kFromSilverThreeToGoldFour) + "110元。\r\n",
       false,
       false},
      {"the whole ladder",
       true,
       {0, 0, 4, 4, 1},
       nullptr,
       "从 英勇黄铜五 代练至 璀璨钻石一 需要：740元。\r\n",
       false,
       false},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    writeSettings();
    loadCalculator();
    if (!c.settingsFile) std::filesystem::remove(moneyIni());
    select(c.selections);
    if (c.radio) click(calculatorControl(c.radio));
    MessageBoxCatcher catcher;
    EXPECT_EQ(clickCalculateClosingSettings(), c.settingsWindow);
    EXPECT_EQ(output(), c.output);
    ASSERT_EQ(catcher.seen().size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(catcher.seen()[0].text, L"有必选项未选中");
    }
    ::DestroyWindow(windowHandle(calculatorWindow()));
  }
}

TEST_F(CalculatorWindowTest, AfterSavingInTheSettingsWindowTheNextClickQuotes) {
  writeSettings();
  loadCalculator();
  std::filesystem::remove(moneyIni());
  select({1, 2, 2, 1, 1});
  runSoon([this] {
    fillPriceFields({"1", "2", "3", "4", "5", "6", "7", "8"});
    click(settingsControl("按钮1"));
  });
  click(calculatorControl("按钮1"));
  EXPECT_EQ(output(), "") << "the click that opened the window quotes nothing";
  EXPECT_EQ(prices, (PriceTable{1, 2, 3, 4, 5, 7, 8, 6}));
  click(calculatorControl("按钮1"));
  // 不屈白银三 to 荣耀黄金四: 2 × by + 2 × hj.
  EXPECT_EQ(output(), std::string(kFromSilverThreeToGoldFour) + "10元。\r\n");
}

TEST_F(CalculatorWindowTest, LinesAreAppendedAtTheEndOfWhateverTheBoxHolds) {
  writeSettings();
  loadCalculator();
  select({1, 2, 2, 1, 1});
  const HWND box = calculatorControl("编辑框1");
  const std::string line = std::string(kFromSilverThreeToGoldFour) + "100元。\r\n";
  click(calculatorControl("按钮1"));
  click(calculatorControl("按钮1"));
  EXPECT_EQ(output(), line + line) << "two clicks, two identical lines";

  // Text typed after the last line break runs on into the next quote; a selection is kept.
  setWindowText(box, "备注：老客户");
  ::SendMessageW(box, EM_SETSEL, 0, 2);
  click(calculatorControl("按钮1"));
  EXPECT_EQ(output(), "备注：老客户" + line);
  ::SendMessageW(box, EM_UNDO, 0, 0);
  EXPECT_EQ(output(), "备注：老客户" + line) << "the quote leaves nothing to undo";
}

TEST_F(CalculatorWindowTest, TypingIntoAListSelectsNothing) {
  writeSettings();
  loadCalculator();
  select({-1, 2, 2, 1, 1});
  setWindowText(calculatorControl("组合框_当前段位"), "不屈白银");
  EXPECT_EQ(selectedIndex(calculatorControl("组合框_当前段位")), -1);
  MessageBoxCatcher catcher;
  click(calculatorControl("按钮1"));
  ASSERT_EQ(catcher.seen().size(), 1u);
  EXPECT_EQ(catcher.seen()[0].text, L"有必选项未选中");
  EXPECT_EQ(output(), "");
}

TEST_F(CalculatorWindowTest, RadioButtonsAreOneGroupAndSelectingQuotesNothing) {
  writeSettings();
  loadCalculator();
  select({1, 2, 2, 1, 1});
  for (const char* radio : {"单选框_15", "单选框_14", "单选框_14", "单选框_18以上"}) {
    click(calculatorControl(radio));
    for (const char* other : {"单选框_14", "单选框_15", "单选框_18以上"}) {
      EXPECT_EQ(isChecked(calculatorControl(other)), std::string_view(other) == radio) << radio;
    }
  }
  EXPECT_EQ(output(), "");
}

TEST_F(CalculatorWindowTest, StartWithoutSettingsShowsOnlyThePriceSettingsWindowFirst) {
  struct {
    bool calculatorVisible = true;
    bool calculatorEnabled = true;
    bool settingsVisible = false;
    bool settingsHasTaskbarButton = true;
  } whileOpen;
  runSoon([&] {
    const HWND calculator = windowHandle(calculatorWindow());
    const HWND settings = windowHandle(priceSettingsWindow());
    whileOpen = {::IsWindowVisible(calculator) != FALSE, ::IsWindowEnabled(calculator) != FALSE,
                 ::IsWindowVisible(settings) != FALSE, testing::hasTaskbarButton(settings)};
    fillPriceFields({"10", "20", "30", "40", "50", "5", "3", "8"});
    click(settingsControl("按钮1"));
  });
  loadCalculator();
  EXPECT_FALSE(whileOpen.calculatorVisible);
  EXPECT_FALSE(whileOpen.calculatorEnabled);
  EXPECT_TRUE(whileOpen.settingsVisible);
  EXPECT_FALSE(whileOpen.settingsHasTaskbarButton);
  EXPECT_EQ(prices, kExamplePrices);
  const HWND calculator = windowHandle(calculatorWindow());
  EXPECT_TRUE(::IsWindowVisible(calculator));
  EXPECT_TRUE(::IsWindowEnabled(calculator));
  EXPECT_TRUE(testing::hasTaskbarButton(calculator));
  EXPECT_EQ(testing::readFile(moneyIni()), testing::kExampleSettings);
}

TEST_F(CalculatorWindowTest, StartWithoutSettingsAndClosingTheWindowLoadsZeros) {
  prices = kExamplePrices;
  runSoon([] { ::PostMessageW(windowHandle(priceSettingsWindow()), WM_CLOSE, 0, 0); });
  loadCalculator();
  EXPECT_EQ(prices, PriceTable{});
  EXPECT_FALSE(std::filesystem::exists(moneyIni()));
  EXPECT_TRUE(::IsWindowVisible(windowHandle(calculatorWindow())));
}

}  // namespace
}  // namespace quorvane
