// Keys at window level, focus on activation, and timers, driven by real keyboard input through
// the shell's own message loops.
#include <gtest/gtest.h>

#include "window_test_support.h"

namespace quorvane {
namespace {

using testing::MessageBoxCatcher;
using testing::runSoon;

// The control that holds the focus, by name; a list's inner edit field counts as its list.
std::string focusedControl(const WindowDefinition& w) {
  const HWND focused = ::GetFocus();
  for (const ControlDefinition& c : w.controls) {
    const HWND handle = controlHandle(w, c.name);
    if (handle && (handle == focused || ::IsChild(handle, focused))) return std::string(c.name);
  }
  return focused && focused == windowHandle(w) ? "<the window>" : "<elsewhere>";
}

// Presses a key and lets the shell's loop take it and everything it leads to.
void press(WORD key, bool shift = false) {
  testing::pressKey(key, shift);
  testing::runShellLoopUntil(
      [] { return HIWORD(::GetQueueStatus(QS_KEY | QS_POSTMESSAGE | QS_SENDMESSAGE)) == 0; });
}

std::vector<std::string> focusAfterEachPress(const WindowDefinition& w, WORD key, bool shift,
                                             int presses) {
  std::vector<std::string> seen;
  for (int i = 0; i < presses; ++i) {
    press(key, shift);
    seen.push_back(focusedControl(w));
  }
  return seen;
}

int ticks = 0;
std::vector<std::string> radioClicks;

// Three radio buttons whose clicks are noted, and a quick timer.
const WindowDefinition kRadiosAndTimer = [] {
  WindowDefinition w;
  w.name = "radios";
  w.caption = "单选";
  w.outerWidth = 300;
  w.outerHeight = 150;
  w.controls = {
      timer("时钟1", {0, 0, 0, 0}, 20),
      radioButton("单选框_c", {10, 70, 60, 24}, "c", false),
      radioButton("单选框_b", {10, 40, 60, 24}, "b", false),
      radioButton("单选框_a", {10, 10, 60, 24}, "a", true),
      pushButton("按钮1", {100, 10, 80, 30}, "按钮"),
  };
  w.bindings = {{"时钟1", Event::Tick, [] { ++ticks; }}};
  for (const char* name : {"单选框_a", "单选框_b", "单选框_c"}) {
    w.bindings.push_back({name, Event::Clicked, [name] { radioClicks.push_back(name); }});
  }
  return w;
}();

const WindowDefinition kModalTestWindow = [] {
  WindowDefinition w;
  w.name = "modal";
  w.caption = "模态";
  w.outerWidth = 200;
  w.outerHeight = 120;
  w.controls = {pushButton("按钮1", {10, 10, 80, 30}, "按钮")};
  return w;
}();

class KeyboardFocusTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ticks = 0;
    radioClicks.clear();
  }
  void TearDown() override {
    for (const WindowDefinition* w : {&kRadiosAndTimer, &kModalTestWindow}) {
      if (const HWND window = windowHandle(*w)) ::DestroyWindow(window);
    }
    WindowTest::TearDown();
  }
  void openCalculator() {
    writeSettings();
    ASSERT_TRUE(loadWindow(calculatorWindow(), nullptr, false));
    testing::activateWindow(windowHandle(calculatorWindow()));
  }
};

TEST_F(KeyboardFocusTest, CalculatorTabOrderBothWays) {
  openCalculator();
  EXPECT_EQ(focusedControl(calculatorWindow()), "组合框_当前段位") << "opens on the first control";
  EXPECT_EQ(focusAfterEachPress(calculatorWindow(), VK_TAB, false, 10),
            (std::vector<std::string>{"组合框_当前级别", "组合框_目标段位", "组合框_目标级别",
                                      "组合框_大区", "单选框_14", "单选框_15", "单选框_18以上",
                                      "按钮1", "编辑框1", "组合框_当前段位"}));
  EXPECT_EQ(focusAfterEachPress(calculatorWindow(), VK_TAB, true, 10),
            (std::vector<std::string>{"编辑框1", "按钮1", "单选框_18以上", "单选框_15", "单选框_14",
                                      "组合框_大区", "组合框_目标级别", "组合框_目标段位",
                                      "组合框_当前级别", "组合框_当前段位"}));
}

TEST_F(KeyboardFocusTest, PriceSettingsTabOrderBothWays) {
  std::string first;
  std::vector<std::string> forward, backward;
  runSoon([&] {
    first = focusedControl(priceSettingsWindow());
    forward = focusAfterEachPress(priceSettingsWindow(), VK_TAB, false, 10);
    backward = focusAfterEachPress(priceSettingsWindow(), VK_TAB, true, 10);
    ::PostMessageW(windowHandle(priceSettingsWindow()), WM_CLOSE, 0, 0);
  });
  showSettingsWindow();
  EXPECT_EQ(first, "编辑框_黄铜价") << "opens on the first control";
  EXPECT_EQ(forward,
            (std::vector<std::string>{"编辑框_白银价", "编辑框_黄金价", "编辑框_铂金价",
                                      "编辑框_钻石价", "编辑框_大区加价", "编辑框_15胜点价",
                                      "编辑框_14胜点价", "按钮1", "按钮2", "编辑框_黄铜价"}));
  EXPECT_EQ(backward,
            (std::vector<std::string>{"按钮2", "按钮1", "编辑框_14胜点价", "编辑框_15胜点价",
                                      "编辑框_大区加价", "编辑框_钻石价", "编辑框_铂金价",
                                      "编辑框_黄金价", "编辑框_白银价", "编辑框_黄铜价"}));
}

TEST_F(KeyboardFocusTest, TabAndEnterInTheOutputBoxAndEnterElsewhere) {
  openCalculator();
  const HWND box = calculatorControl("编辑框1");
  ::SetFocus(box);
  press(VK_TAB);
  EXPECT_EQ(focusedControl(calculatorWindow()), "组合框_当前段位");
  EXPECT_EQ(windowText(box), "") << "no tab character in the output box";

  ::SetFocus(box);
  press(VK_RETURN);
  EXPECT_EQ(windowText(box), "\r\n") << "Enter starts a new line in the output box";

  // Nothing is selected, so a click of "计算" would show a message: Enter clicks nothing.
  MessageBoxCatcher catcher;
  for (const char* control : {"按钮1", "组合框_大区", "单选框_15"}) {
    ::SetFocus(calculatorControl(control));
    press(VK_RETURN);
    EXPECT_EQ(focusedControl(calculatorWindow()), control) << "Enter moves nothing";
  }
  EXPECT_TRUE(catcher.seen().empty());
  EXPECT_EQ(windowText(box), "\r\n");
}

TEST_F(KeyboardFocusTest, ArrowKeysMoveTheCheckAmongTheCalculatorsRadioButtons) {
  openCalculator();
  auto checkedAfter = [](WORD key) {
    press(key);
    std::string checked;
    for (const char* radio : {"单选框_14", "单选框_15", "单选框_18以上"}) {
      if (isChecked(calculatorControl(radio))) checked += checked.empty() ? radio : "+";
    }
    return checked + " focused " + focusedControl(calculatorWindow());
  };
  ::SetFocus(calculatorControl("单选框_14"));
  EXPECT_EQ(checkedAfter(VK_RIGHT), "单选框_15 focused 单选框_15");
  EXPECT_EQ(checkedAfter(VK_DOWN), "单选框_18以上 focused 单选框_18以上");
  EXPECT_EQ(checkedAfter(VK_RIGHT), "单选框_14 focused 单选框_14") << "wraps to the first";
  EXPECT_EQ(checkedAfter(VK_LEFT), "单选框_18以上 focused 单选框_18以上") << "wraps to the last";
  EXPECT_EQ(checkedAfter(VK_UP), "单选框_15 focused 单选框_15");
}

TEST_F(KeyboardFocusTest, ArrowKeysRaiseTheClickedEventOfTheNewlyCheckedButton) {
  ASSERT_TRUE(loadWindow(kRadiosAndTimer, nullptr, false));
  testing::activateWindow(windowHandle(kRadiosAndTimer));
  ::SetFocus(controlHandle(kRadiosAndTimer, "单选框_a"));
  press(VK_RIGHT);
  press(VK_RIGHT);
  press(VK_LEFT);
  press(VK_LEFT);
  EXPECT_EQ(radioClicks,
            (std::vector<std::string>{"单选框_b", "单选框_c", "单选框_b", "单选框_a"}));
  ::SetFocus(controlHandle(kRadiosAndTimer, "按钮1"));
  press(VK_RIGHT);
  EXPECT_EQ(radioClicks.size(), 4u) << "arrows elsewhere move no check";
}

TEST_F(KeyboardFocusTest, EscClosesThePriceSettingsWindowWithoutWritingButNotTheCalculator) {
  // At start-up: the calculator then appears, with every price 0.
  prices = testing::kExamplePrices;
  runSoon([] { press(VK_ESCAPE); });
  ASSERT_TRUE(loadWindow(calculatorWindow(), nullptr, false));
  EXPECT_EQ(windowHandle(priceSettingsWindow()), nullptr);
  EXPECT_FALSE(std::filesystem::exists(moneyIni()));
  EXPECT_EQ(prices, PriceTable{});
  const HWND calculator = windowHandle(calculatorWindow());
  EXPECT_TRUE(::IsWindowVisible(calculator));

  testing::activateWindow(calculator);
  for (const char* control : {"组合框_当前段位", "按钮1", "编辑框1"}) {
    ::SetFocus(calculatorControl(control));
    press(VK_ESCAPE);
    EXPECT_TRUE(::IsWindow(calculator)) << control;
  }
}

TEST_F(KeyboardFocusTest, TheFocusedControlComesBackWhenTheWindowIsActivatedAgain) {
  openCalculator();
  const HWND calculator = windowHandle(calculatorWindow());
  ::SetFocus(calculatorControl("按钮1"));
  ASSERT_TRUE(loadWindow(kRadiosAndTimer, nullptr, false));
  testing::runShellLoopUntil([] { return ::GetActiveWindow() == windowHandle(kRadiosAndTimer); });
  // 单选框_a stands last in the definition: it opens with the focus.
  EXPECT_EQ(focusedControl(kRadiosAndTimer), "按钮1");
  testing::activateWindow(calculator);
  testing::runShellLoopUntil([&] { return ::GetActiveWindow() == calculator; });
  EXPECT_EQ(focusedControl(calculatorWindow()), "按钮1");
}

TEST_F(KeyboardFocusTest, TimersTickInTheMainLoopInAModalRunAndUnderAMessageBox) {
  ASSERT_TRUE(loadWindow(kRadiosAndTimer, nullptr, false));
  EXPECT_TRUE(testing::runShellLoopUntil([] { return ticks >= 3; })) << "main loop";

  int ticksInModalRun = 0;
  runSoon([&] {
    const int start = ticks;
    testing::whenTrue([&, start] { return ticks >= start + 3; },
                      [&, start] {
                        ticksInModalRun = ticks - start;
                        unloadWindow(kModalTestWindow);
                      });
  });
  loadWindow(kModalTestWindow, nullptr, true);
  EXPECT_GE(ticksInModalRun, 3) << "modal run";

  const int beforeBox = ticks;
  {
    MessageBoxCatcher catcher({}, [&] { return ticks >= beforeBox + 3; });
    showMessageBox("等待");
  }
  EXPECT_GE(ticks, beforeBox + 3) << "message box";

  // Gone with its window: no tick after the destruction.
  ::DestroyWindow(windowHandle(kRadiosAndTimer));
  const int afterDestruction = ticks;
  testing::pumpFor(100);
  EXPECT_EQ(ticks, afterDestruction);
}

TEST_F(KeyboardFocusTest, TheCalculatorsTimerRunsEveryTwoHoursWithId1000) {
  openCalculator();
  const auto& controls = calculatorWindow().controls;
  const auto timerDefinition = std::find_if(controls.begin(), controls.end(),
                                            [](const auto& c) { return c.name == "时钟1"; });
  ASSERT_NE(timerDefinition, controls.end());
  EXPECT_EQ(timerDefinition->intervalMs, 7200000);
  const HWND timerWindow = calculatorControl("时钟1");
  ASSERT_TRUE(::IsWindow(timerWindow));
  EXPECT_FALSE(::IsWindowVisible(timerWindow));
  EXPECT_TRUE(::KillTimer(timerWindow, 1000)) << "a timer with id 1000 runs on the timer's window";
}

}  // namespace
}  // namespace quorvane
