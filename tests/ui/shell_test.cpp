// The shell's contract: creation order, modal runs, deferred destruction, reloading, owners and
// taskbar buttons, activation redirect, message boxes, and no GDI or USER objects left behind.
#include "shell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui_harness.h"

namespace quorvane {
namespace {

using testing::MessageBoxCatcher;
using testing::pumpUntil;
using testing::runSoon;

// What the test windows' handlers saw, in order; a test may look further at each event.
std::vector<std::string> events;
std::function<void(const std::string&)> onEvent;

Handler record(std::string what) {
  return [what] {
    events.push_back(what);
    if (onEvent) onEvent(what);
  };
}

std::vector<EventBinding> recordedWindowEvents(const std::string& window) {
  // Handlers keep their own copies of the texts they record.
  return {{"", Event::Created, record(window + " created")},
          {"", Event::Moved, record(window + " moved")},
          {"", Event::Resized, record(window + " resized")},
          {"", Event::Destroyed, record(window + " destroyed")}};
}

// `name` is a literal: the definition keeps a view of it.
WindowDefinition testWindow(std::string_view name, int width, int height, bool visible = true) {
  WindowDefinition w;
  w.name = name;
  w.caption = std::string(name) + " 窗口";
  w.outerWidth = width;
  w.outerHeight = height;
  w.visible = visible;
  w.controls = {pushButton("按钮1", {10, 10, 80, 30}, "按钮")};
  w.bindings = recordedWindowEvents(std::string(name));
  w.bindings.push_back({"按钮1", Event::Clicked, record(std::string(name) + " clicked")});
  return w;
}

constexpr std::array<std::string_view, 2> kListItems{"英勇黄铜", "不屈白银"};

// One control of every kind, as the program's windows use them.
const WindowDefinition kAllKinds = [] {
  WindowDefinition w = testWindow("all", 410, 297);
  w.controls = {
      label("透明标签1", {5, 5, 120, 16}, "当前段位：", LabelStyle{rgb(255, 0, 0), 14, 700, false}),
      label("透明标签2", {5, 25, 200, 40}, "第一行\r\n第二行",
            LabelStyle{rgb(0, 136, 255), 14, 700, true}),
      comboBox("组合框_1", {130, 5, 120, 20}, kListItems),
      pushButton("按钮1", {260, 5, 96, 48}, "计算"),
      radioButton("单选框_1", {5, 70, 64, 24}, "0-14", false),
      radioButton("单选框_2", {75, 70, 64, 24}, "18以上", true),
      editBox("编辑框_1", {150, 70, 32, 24}, 3, "0123456789-"),
      outputBox("编辑框1", {-1, 100, 416, 102}, rgb(0, 255, 0), rgb(0, 0, 0)),
      timer("时钟1", {368, 184, 0, 0}, 7200000),
  };
  return w;
}();

const WindowDefinition kStart = testWindow("start", 300, 200);
const WindowDefinition kHidden = testWindow("hidden", 200, 150, false);
const WindowDefinition kChild = testWindow("child", 200, 150);
const WindowDefinition kModalA = testWindow("modalA", 320, 240);
const WindowDefinition kModalB = testWindow("modalB", 250, 180);

// Unloads itself from its own click handler and notes what stands when the handler returns.
struct {
  bool windowExists = false;
  bool controlExists = false;
} atHandlerReturn;
const WindowDefinition kSelfClosing = [] {
  WindowDefinition w = testWindow("selfClosing", 300, 200);
  w.bindings.insert(w.bindings.begin(),
                    {"按钮1", Event::Clicked, [] {
                       unloadWindow(kSelfClosing);
                       events.push_back("unload asked");
                       atHandlerReturn = {
                           ::IsWindow(windowHandle(kSelfClosing)) != FALSE,
                           ::IsWindow(controlHandle(kSelfClosing, "按钮1")) != FALSE};
                     }});
  return w;
}();

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events.clear();
    onEvent = nullptr;
  }
  void TearDown() override {
    onEvent = nullptr;
    for (const WindowDefinition* w : {&kAllKinds, &kStart, &kHidden, &kChild, &kModalA, &kModalB}) {
      if (const HWND window = windowHandle(*w)) ::DestroyWindow(window);
    }
    testing::pumpFor(20);
  }

  static bool allControlsExist(const WindowDefinition& w) {
    for (const ControlDefinition& c : w.controls) {
      if (c.kind != ControlKind::Label && !::IsWindow(controlHandle(w, c.name))) return false;
    }
    return true;
  }
};

TEST_F(ShellTest, CreationEventsRunOnTheInvisibleWindowThenItIsShownAtItsSizeCentred) {
  std::vector<std::string> states;
  onEvent = [&](const std::string& what) {
    const HWND window = windowHandle(kAllKinds);
    states.push_back(what + (::IsWindowVisible(window) ? " visible" : " invisible") +
                     (allControlsExist(kAllKinds) ? " with controls" : " without controls"));
  };
  ASSERT_TRUE(loadWindow(kAllKinds, nullptr, false));
  EXPECT_EQ(states, (std::vector<std::string>{"all created invisible with controls",
                                              "all moved invisible with controls",
                                              "all resized invisible with controls"}));
  const HWND window = windowHandle(kAllKinds);
  EXPECT_TRUE(::IsWindowVisible(window));
  RECT outer;
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 410);
  EXPECT_EQ(outer.bottom - outer.top, 297);
  EXPECT_EQ(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - 410) / 2);
  EXPECT_EQ(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - 297) / 2);
  for (const ControlDefinition& c : kAllKinds.controls) {
    if (c.kind == ControlKind::Label) continue;
    EXPECT_EQ(::IsWindowVisible(controlHandle(kAllKinds, c.name)) != FALSE, c.visible) << c.name;
  }
}

TEST_F(ShellTest, ModalLoadDisablesOtherWindowsWithoutParentAndReenablesThemBeforeDestruction) {
  ASSERT_TRUE(loadWindow(kStart, nullptr, false));
  ASSERT_TRUE(loadWindow(kHidden, nullptr, false));
  ASSERT_TRUE(loadWindow(kChild, &kStart, false));
  const HWND start = windowHandle(kStart), hidden = windowHandle(kHidden),
             child = windowHandle(kChild);
  ASSERT_FALSE(::IsWindowVisible(hidden));
  ::EnableWindow(hidden, FALSE);  // disabled before: stays disabled afterwards

  std::vector<bool> enabledWhileModal;
  std::vector<bool> enabledAtDestruction;
  onEvent = [&](const std::string& what) {
    if (what == "modalA destroyed") {
      enabledAtDestruction = {::IsWindowEnabled(start) != FALSE, ::IsWindowEnabled(child) != FALSE};
    }
  };
  runSoon([&] {
    enabledWhileModal = {::IsWindowEnabled(start) != FALSE, ::IsWindowEnabled(hidden) != FALSE,
                         ::IsWindowEnabled(child) != FALSE,
                         ::IsWindowEnabled(windowHandle(kModalA)) != FALSE};
    events.push_back("closing modalA");
    ::PostMessageW(windowHandle(kModalA), WM_CLOSE, 0, 0);
  });
  events.clear();
  ASSERT_TRUE(loadWindow(kModalA, nullptr, true));
  events.push_back("modal load returned");

  EXPECT_EQ(enabledWhileModal, (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(enabledAtDestruction, (std::vector<bool>{true, true}));
  EXPECT_FALSE(::IsWindowEnabled(hidden)) << "a window disabled before keeps its state";
  EXPECT_EQ(windowHandle(kModalA), nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"modalA created", "modalA moved", "modalA resized",
                                              "closing modalA", "modalA destroyed",
                                              "modal load returned"}));
}

TEST_F(ShellTest, NestedModalRunsReturnInnermostFirst) {
  ASSERT_TRUE(loadWindow(kStart, nullptr, false));
  bool outerEnabledWhileInner = true;
  runSoon([&] {    // inside modalA's run
    runSoon([&] {  // inside modalB's run
      outerEnabledWhileInner = ::IsWindowEnabled(windowHandle(kModalA)) != FALSE;
      unloadWindow(kModalB);
    });
    loadWindow(kModalB, nullptr, true);
    events.push_back("modalB returned");
    EXPECT_TRUE(::IsWindowEnabled(windowHandle(kModalA)));
    EXPECT_FALSE(::IsWindowEnabled(windowHandle(kStart)));
    unloadWindow(kModalA);
  });
  loadWindow(kModalA, nullptr, true);
  events.push_back("modalA returned");
  EXPECT_FALSE(outerEnabledWhileInner);
  EXPECT_TRUE(::IsWindowEnabled(windowHandle(kStart)));
  const std::vector<std::string> returns = {"modalB destroyed", "modalB returned",
                                            "modalA destroyed", "modalA returned"};
  std::vector<std::string> seen;
  for (const std::string& e : events) {
    if (std::find(returns.begin(), returns.end(), e) != returns.end()) seen.push_back(e);
  }
  EXPECT_EQ(seen, returns);
}

TEST_F(ShellTest, UnloadInsideAHandlerDestroysOnlyAfterTheHandlerHasReturned) {
  runSoon([] {
    ::SendMessageW(controlHandle(kSelfClosing, "按钮1"), BM_CLICK, 0, 0);
    events.push_back("click handled");
  });
  ASSERT_TRUE(loadWindow(kSelfClosing, nullptr, true));
  events.push_back("modal load returned");
  EXPECT_TRUE(atHandlerReturn.windowExists);
  EXPECT_TRUE(atHandlerReturn.controlExists);
  EXPECT_EQ(windowHandle(kSelfClosing), nullptr);
  EXPECT_EQ(events,
            (std::vector<std::string>{"selfClosing created", "selfClosing moved",
                                      "selfClosing resized", "unload asked", "click handled",
                                      "selfClosing destroyed", "modal load returned"}));
}

TEST_F(ShellTest, LoadingALoadedWindowActivatesOrRestoresItAndRunsNothingModal) {
  ASSERT_TRUE(loadWindow(kStart, nullptr, false));
  ASSERT_TRUE(loadWindow(kChild, nullptr, false));
  const HWND start = windowHandle(kStart);
  ASSERT_NE(::GetActiveWindow(), start);
  events.clear();
  // Would block until the window is gone if it started a modal run.
  runSoon([] { events.push_back("later"); });
  EXPECT_TRUE(loadWindow(kStart, nullptr, true));
  events.push_back("returned");
  EXPECT_EQ(::GetActiveWindow(), start);
  EXPECT_TRUE(::IsWindowEnabled(windowHandle(kChild))) << "no modal load happened";

  ::ShowWindow(start, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(start));
  EXPECT_TRUE(loadWindow(kStart, nullptr, false));
  EXPECT_FALSE(::IsIconic(start));
  EXPECT_EQ(windowHandle(kStart), start);
  testing::pumpFor(20);
  // Minimising and restoring move and resize the window; nothing is created again, and the
  // modal load returned before the next message was taken.
  std::erase_if(events,
                [](const std::string& e) { return e == "start moved" || e == "start resized"; });
  EXPECT_EQ(events, (std::vector<std::string>{"returned", "later"}));
}

TEST_F(ShellTest, OwnersTaskbarButtonsAndTheActivationRedirect) {
  ASSERT_TRUE(loadWindow(kStart, nullptr, false));
  const HWND start = windowHandle(kStart);
  EXPECT_EQ(::GetWindow(start, GW_OWNER), nullptr);
  EXPECT_TRUE(testing::hasTaskbarButton(start));
  EXPECT_EQ(::GetActiveWindow(), start);

  HWND modal = nullptr;
  HWND activeAfterRedirect = nullptr;
  runSoon([&] {
    modal = windowHandle(kModalA);
    EXPECT_EQ(::GetWindow(modal, GW_OWNER), hiddenOwnerWindow());
    EXPECT_FALSE(testing::hasTaskbarButton(modal));
    EXPECT_FALSE(::IsWindowVisible(hiddenOwnerWindow()));
    // The user switches to the disabled start window, as with its taskbar button.
    testing::activateWindow(start);
    runSoon([&] {
      pumpUntil([&] { return ::GetActiveWindow() == modal; }, 2000);
      activeAfterRedirect = ::GetActiveWindow();
      unloadWindow(kModalA);
    });
  });
  ASSERT_TRUE(loadWindow(kModalA, nullptr, true));
  EXPECT_NE(modal, nullptr);
  EXPECT_EQ(activeAfterRedirect, modal);
}

TEST_F(ShellTest, MessageBoxHasTheDefaultTitleOneOkButtonNoIconAndIsTaskModal) {
  ASSERT_TRUE(loadWindow(kStart, nullptr, false));
  MessageBoxCatcher catcher;
  int result = 0;
  runSoon([&] {
    catcher.watch({windowHandle(kStart), windowHandle(kModalA)});
    result = showMessageBox("有必选项未选中");
    events.push_back("box closed");
    EXPECT_TRUE(::IsWindowEnabled(windowHandle(kModalA)));
    unloadWindow(kModalA);
  });
  ASSERT_TRUE(loadWindow(kModalA, nullptr, true));
  ASSERT_EQ(catcher.seen().size(), 1u);
  const testing::MessageBoxSeen& box = catcher.seen()[0];
  EXPECT_EQ(box.title, L"信息：");
  EXPECT_EQ(box.text, L"有必选项未选中");
  EXPECT_EQ(box.buttonIds, std::vector<int>{IDOK});
  EXPECT_FALSE(box.hasIcon);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.windowsEnabled, (std::vector<bool>{false, false})) << "both windows disabled";
  EXPECT_EQ(result, IDOK);

  // A system-modal box keeps its flag and is not made task-modal as well.
  runSoon([&] { showMessageBox("x", MB_SYSTEMMODAL, "标题"); });
  pumpUntil([&] { return catcher.seen().size() == 2; });
  ASSERT_EQ(catcher.seen().size(), 2u);
  EXPECT_EQ(catcher.seen()[1].title, L"标题");
}

TEST_F(ShellTest, CreatingAndDestroyingAWindowOfEveryKindLeavesNoObjectsBehind) {
  auto cycle = [] {
    ASSERT_TRUE(loadWindow(kAllKinds, nullptr, false));
    unloadWindow(kAllKinds);
    ASSERT_TRUE(pumpUntil([] { return windowHandle(kAllKinds) == nullptr; }));
  };
  for (int i = 0; i < 3; ++i) cycle();  // the platform's caches settle
  const int gdiBefore = testing::gdiObjectCount();
  const int userBefore = testing::userObjectCount();
  ASSERT_GT(gdiBefore, 0);
  for (int i = 0; i < 500; ++i) cycle();
  EXPECT_LE(testing::gdiObjectCount(), gdiBefore + 2);
  EXPECT_LE(testing::userObjectCount(), userBefore + 2);
}

}  // namespace
}  // namespace quorvane
