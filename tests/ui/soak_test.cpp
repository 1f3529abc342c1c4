// Long runs of what a seller does all day: thousands of quotes, hundreds of price settings
// windows. Nothing may pile up: GDI and USER objects and private memory stay flat, every line
// arrives, and no message box is left behind.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>

#include "window_test_support.h"

namespace quorvane {
namespace {

using testing::MessageBoxCatcher;

size_t privateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(),
                         reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters.PrivateUsage;
}

struct Resources {
  int gdi = testing::gdiObjectCount();
  int user = testing::userObjectCount();
  size_t memory = privateBytes();
};

// Wine keeps a few device contexts (each with its bitmap and region) in a cache that grows once,
// some way into a run; a leak of one object per quote or per window would show as hundreds.
constexpr int kObjectTolerance = 16;

int openMessageBoxes() {
  int count = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM n) -> BOOL {
        wchar_t name[16];
        ::GetClassNameW(w, name, 16);
        if (wcscmp(name, L"#32770") == 0) ++*reinterpret_cast<int*>(n);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

class SoakTest : public testing::WindowTest {
 protected:
  void openCalculatorOnARoute() {
    writeSettings();
    ASSERT_TRUE(loadWindow(calculatorWindow(), nullptr, false));
    const char* lists[] = {"组合框_当前段位", "组合框_当前级别", "组合框_目标段位",
                           "组合框_目标级别", "组合框_大区"};
    const int route[] = {1, 2, 2, 1, 1};
    for (int i = 0; i < 5; ++i) {
      ::SendMessageW(calculatorControl(lists[i]), CB_SETCURSEL, static_cast<WPARAM>(route[i]), 0);
    }
  }
  static void clickCalculate() { click(calculatorControl("按钮1")); }
};

TEST_F(SoakTest, TenThousandQuotes) {
  const auto start = std::chrono::steady_clock::now();
  MessageBoxCatcher catcher;
  openCalculatorOnARoute();
  const std::string line = "从 不屈白银三 代练至 荣耀黄金四 需要：100元。\r\n";
  constexpr int kWarmUp = 100, kClicks = 10000;
  for (int i = 0; i < kWarmUp; ++i) clickCalculate();
  testing::pumpFor(50);
  const Resources before;
  for (int i = 0; i < kClicks; ++i) {
    clickCalculate();
    if (i % 500 == 0) testing::pumpFor(1);  // let the box repaint now and then, as it would
  }
  testing::pumpFor(50);
  const Resources after;

  std::string expected;
  for (int i = 0; i < kWarmUp + kClicks; ++i) expected += line;
  EXPECT_TRUE(windowText(calculatorControl("编辑框1")) == expected) << "every line, in order";
  EXPECT_LE(after.gdi, before.gdi + kObjectTolerance);
  EXPECT_LE(after.user, before.user + kObjectTolerance);
  // The box holds its 10,000 new lines (about 0.7 MB as UTF-16, with its line table): a leak of
  // a few hundred bytes a click would show well beyond this.
  EXPECT_LT(after.memory, before.memory + (4u << 20));
  EXPECT_TRUE(catcher.seen().empty());
  EXPECT_EQ(openMessageBoxes(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::minutes(3));
}

TEST_F(SoakTest, ThreeHundredPriceSettingsWindows) {
  const auto start = std::chrono::steady_clock::now();
  MessageBoxCatcher catcher;
  openCalculatorOnARoute();
  int windowsSaved = 0;
  // "money.ini" deleted, "计算" opens the price settings window, the prices are typed and saved.
  auto cycle = [&](int n) {
    std::filesystem::remove(moneyIni());
    const std::string price = std::to_string(n % 1000);
    testing::runSoon([&, price] {
      if (!windowHandle(priceSettingsWindow())) return;
      fillPriceFields({price, price, price, price, price, price, price, price});
      click(settingsControl("按钮1"));
      ++windowsSaved;
    });
    clickCalculate();
  };
  for (int i = 0; i < 5; ++i) cycle(i);
  testing::pumpFor(50);
  const Resources before;
  constexpr int kCycles = 300;
  for (int i = 0; i < kCycles; ++i) cycle(i);
  testing::pumpFor(50);
  const Resources after;

  EXPECT_EQ(windowsSaved, 5 + kCycles);
  EXPECT_EQ(prices, (PriceTable{299, 299, 299, 299, 299, 299, 299, 299}));
  EXPECT_EQ(windowText(calculatorControl("编辑框1")), "")
      << "a click that asks for prices quotes nothing";
  EXPECT_EQ(windowHandle(priceSettingsWindow()), nullptr);
  EXPECT_LE(after.gdi, before.gdi + kObjectTolerance);
  EXPECT_LE(after.user, before.user + kObjectTolerance);
  EXPECT_LT(after.memory, before.memory + (1u << 20));
  EXPECT_TRUE(catcher.seen().empty());
  EXPECT_EQ(openMessageBoxes(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::minutes(3));
}

}  // namespace
}  // namespace quorvane
