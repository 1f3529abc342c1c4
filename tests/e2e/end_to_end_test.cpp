// quorvane.exe itself, started in a fresh folder and used as a seller would: the price settings
// window at the first start, saving, quoting, a deleted "money.ini", and closing. It also takes
// the README's pictures of both windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "calculator_window.h"
#include "price_settings_window.h"
#include "temp_folder.h"
#include "text.h"
#include "ui_harness.h"
#include "window_screenshot.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using testing::clickControl;
using testing::pressKey;

// Polls until `done` holds; the program under test runs in its own process.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// Text of a window of the other process, without hanging on a busy one.
std::wstring textOf(HWND window) {
  DWORD_PTR length = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

class QuorvaneProcess {
 public:
  QuorvaneProcess(const fs::path& program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    // Started from another folder: the program finds "money.ini" beside itself all the same.
    EXPECT_TRUE(::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, fs::temp_directory_path().c_str(), &startup, &info_));
    ::WaitForInputIdle(info_.hProcess, 10000);
  }
  QuorvaneProcess(const QuorvaneProcess&) = delete;
  QuorvaneProcess& operator=(const QuorvaneProcess&) = delete;
  ~QuorvaneProcess() {
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(info_.hProcess, 99);
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
  }

  // A top-level window of the program of that class whose caption satisfies `caption`.
  HWND window(const wchar_t* windowClass, const std::function<bool(const std::wstring&)>& caption,
              bool visibleOnly = true) const {
    struct Search {
      DWORD process;
      const wchar_t* windowClass;
      const std::function<bool(const std::wstring&)>* caption;
      bool visibleOnly;
      HWND found;
    } search{info_.dwProcessId, windowClass, &caption, visibleOnly, nullptr};
    ::EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(p);
          DWORD process = 0;
          ::GetWindowThreadProcessId(w, &process);
          wchar_t name[64];
          ::GetClassNameW(w, name, 64);
          wchar_t title[256];
          const int n = ::GetWindowTextW(w, title, 256);
          if (process == s.process && wcscmp(name, s.windowClass) == 0 &&
              (!s.visibleOnly || ::IsWindowVisible(w)) && (*s.caption)(std::wstring(title, n))) {
            s.found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  HWND calculator(bool visibleOnly = true) const {
    return window(
        L"QuorvaneWindow", [](const std::wstring& t) { return t.starts_with(L"Quorvane"); },
        visibleOnly);
  }
  HWND priceSettings() const {
    return window(L"QuorvaneWindow", [](const std::wstring& t) { return t.empty(); });
  }
  HWND messageBox() const {
    return window(L"#32770", [](const std::wstring&) { return true; });
  }

  std::optional<DWORD> exitCode(int timeoutMs) const {
    if (::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

// A control of a window of the other process, found where its definition puts it.
HWND control(HWND window, const WindowDefinition& definition, std::string_view name) {
  const auto c = std::find_if(definition.controls.begin(), definition.controls.end(),
                              [&](const ControlDefinition& d) { return d.name == name; });
  if (c == definition.controls.end()) return nullptr;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT box;
    ::GetWindowRect(child, &box);
    POINT topLeft{box.left, box.top};
    ::ScreenToClient(window, &topLeft);
    if (topLeft.x == c->bounds.x && topLeft.y == c->bounds.y) return child;
  }
  return nullptr;
}

// The window with the keyboard focus in the foreground thread, whichever process it belongs to.
HWND focusedWindow() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(0, &info) ? info.hwndFocus : nullptr;
}

// Clicks a control and waits until it (or its inner edit field) has the focus: keys are queued
// to whichever window has the focus when they are sent.
std::string describe(HWND window) {
  if (!window) return "none";
  wchar_t name[64];
  ::GetClassNameW(window, name, 64);
  RECT box{};
  ::GetWindowRect(window, &box);
  return narrow(name) + " at " + std::to_string(box.left) + "," + std::to_string(box.top);
}

void focusByClick(HWND control) {
  clickControl(control);
  ASSERT_TRUE(waitUntil([&] {
    const HWND focused = focusedWindow();
    return focused && (focused == control || ::IsChild(control, focused));
  })) << "wanted "
      << describe(control) << ", focus " << describe(focusedWindow()) << ", foreground "
      << describe(::GetForegroundWindow());
}

void typeText(const std::wstring& text) {
  for (const wchar_t character : text) {
    const SHORT key = ::VkKeyScanW(character);
    pressKey(LOBYTE(key), (HIBYTE(key) & 1) != 0);
  }
}

// Reads the message box that the program shows, then presses its OK button.
struct BoxSeen {
  std::wstring title;
  std::wstring text;
};
std::optional<BoxSeen> dismissMessageBox(const QuorvaneProcess& program) {
  HWND box = nullptr;
  if (!waitUntil([&] { return (box = program.messageBox()) != nullptr; })) return std::nullopt;
  wchar_t title[128];
  const int n = ::GetWindowTextW(box, title, 128);
  BoxSeen seen{std::wstring(title, n), textOf(::GetDlgItem(box, 0xFFFF))};
  clickControl(::GetDlgItem(box, IDOK));
  waitUntil([&] { return !::IsWindow(box); });
  return seen;
}

// A font that lacks Chinese glyphs draws boxes: every face the windows use must have them.
bool hasChineseGlyphs(const LOGFONTW& face) {
  const HFONT font = ::CreateFontIndirectW(&face);
  const HDC dc = ::GetDC(nullptr);
  const HGDIOBJ previous = ::SelectObject(dc, font);
  const std::wstring text = L"计算当前段位价格信息";
  std::vector<WORD> glyphs(text.size());
  ::GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
  ::SelectObject(dc, previous);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(font);
  return std::none_of(glyphs.begin(), glyphs.end(), [](WORD g) { return g == 0xFFFF; });
}

const std::string kSavedFile =
    "[\xBC\xDB\xB8\xF1]\r\nht=10\r\nby=20\r\nhj=30\r\nbj=40\r\nzs=50\r\ndq=5\r\n15=3\r\n14=8\r\n";
const std::wstring kQuote = L"从 不屈白银三 代练至 荣耀黄金四 需要：100元。\r\n";

// Types the eight prices of the worked examples, field by field as a user clicks into them.
void typePrices(HWND settings) {
  const wchar_t* values[] = {L"10", L"20", L"30", L"40", L"50", L"5", L"3", L"8"};
  for (size_t i = 0; i < kPriceFields.size(); ++i) {
    const HWND field = control(settings, priceSettingsWindow(), kPriceFields[i].editBox);
    focusByClick(field);
    typeText(values[i]);
    ASSERT_TRUE(waitUntil([&] { return textOf(field) == values[i]; })) << i;
  }
}

int selectionOf(HWND list) {
  DWORD_PTR selected = 0;
  ::SendMessageTimeoutW(list, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selected);
  return static_cast<int>(selected);
}

// Picks an item of a list with the keyboard: Down and Up step through the items of a closed
// list, Down from no selection to the first item.
void pickItem(HWND calculator, std::string_view list, int index) {
  const HWND box = control(calculator, calculatorWindow(), list);
  focusByClick(box);
  const int steps = index - selectionOf(box);
  for (int i = 0; i < std::abs(steps); ++i) pressKey(steps > 0 ? VK_DOWN : VK_UP);
  ASSERT_TRUE(waitUntil([&] { return selectionOf(box) == index; })) << list;
}

void pickRoute(HWND calculator, std::array<int, 5> indices) {
  const char* lists[] = {"组合框_当前段位", "组合框_当前级别", "组合框_目标段位", "组合框_目标级别",
                         "组合框_大区"};
  for (size_t i = 0; i < indices.size(); ++i) pickItem(calculator, lists[i], indices[i]);
}

TEST(EndToEnd, FontsHaveChineseGlyphs) {
  LOGFONTW guiFont{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof guiFont, &guiFont);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW boldLabels{};
  boldLabels.lfHeight = -14;
  boldLabels.lfWeight = FW_BOLD;
  boldLabels.lfCharSet = DEFAULT_CHARSET;
  EXPECT_TRUE(hasChineseGlyphs(guiFont)) << "controls and calculator labels";
  EXPECT_TRUE(hasChineseGlyphs(boldLabels)) << "price settings labels";
  EXPECT_TRUE(hasChineseGlyphs(metrics.lfCaptionFont)) << "captions";
  EXPECT_TRUE(hasChineseGlyphs(metrics.lfMessageFont)) << "message boxes";
}

TEST(EndToEnd, FromFirstStartToQuotesAndBack) {
  const testing::TempFolder folder;
  const fs::path program = folder / "quorvane.exe";
  fs::copy_file(QUORVANE_EXE, program);
  const fs::path moneyIni = folder / "money.ini";
  const fs::path screenshots = QUORVANE_SCREENSHOT_DIR;

  QuorvaneProcess quorvane(program);

  // First start: only the price settings window shows; the calculator waits, invisible.
  HWND settings = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (settings = quorvane.priceSettings()) != nullptr; }));
  EXPECT_EQ(quorvane.calculator(), nullptr);
  EXPECT_NE(quorvane.calculator(false), nullptr);
  // The first control of its Tab order has the focus once the window is up.
  ASSERT_TRUE(waitUntil([&] {
    return focusedWindow() == control(settings, priceSettingsWindow(), "编辑框_黄铜价");
  }));

  clickControl(control(settings, priceSettingsWindow(), "按钮1"));
  auto box = dismissMessageBox(quorvane);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"信息：");
  EXPECT_EQ(box->text, L"有必填项未填写！");
  EXPECT_FALSE(fs::exists(moneyIni));

  typePrices(settings);
  pressKey(VK_TAB);  // the focus to 保存, so that no caret blinks in the picture
  ASSERT_TRUE(waitUntil(
      [&] { return focusedWindow() == control(settings, priceSettingsWindow(), "按钮1"); }));
  saveWindowScreenshot(settings, screenshots / "price-settings-window.png");
  clickControl(control(settings, priceSettingsWindow(), "按钮1"));
  HWND calculator = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (calculator = quorvane.calculator()) != nullptr; }));
  EXPECT_FALSE(::IsWindow(settings));
  EXPECT_EQ(testing::readFile(moneyIni), kSavedFile);

  // Nothing selected yet.
  const HWND calculate = control(calculator, calculatorWindow(), "按钮1");
  const HWND output = control(calculator, calculatorWindow(), "编辑框1");
  clickControl(calculate);
  box = dismissMessageBox(quorvane);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"有必选项未选中");

  // 不屈白银三 to 荣耀黄金四, other servers: the worked example.
  pickRoute(calculator, {1, 2, 2, 1, 1});
  clickControl(calculate);
  ASSERT_TRUE(waitUntil([&] { return textOf(output) == kQuote; })) << narrow(textOf(output));
  saveWindowScreenshot(calculator, screenshots / "calculator-window.png");

  // 不屈白银三 to 不屈白银三: not upward, so nothing.
  pickItem(calculator, "组合框_目标段位", 1);
  pickItem(calculator, "组合框_目标级别", 2);
  clickControl(calculate);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(textOf(output), kQuote);
  EXPECT_EQ(quorvane.messageBox(), nullptr);

  // "money.ini" deleted while the program runs: the next click asks for prices and quotes
  // nothing; once they are saved, the click after quotes.
  pickRoute(calculator, {1, 2, 2, 1, 1});
  fs::remove(moneyIni);
  clickControl(calculate);
  ASSERT_TRUE(waitUntil([&] { return (settings = quorvane.priceSettings()) != nullptr; }));
  EXPECT_EQ(textOf(output), kQuote);
  typePrices(settings);
  clickControl(control(settings, priceSettingsWindow(), "按钮1"));
  ASSERT_TRUE(waitUntil([&] { return !::IsWindow(settings) && ::IsWindowEnabled(calculator); }));
  EXPECT_EQ(textOf(output), kQuote);
  clickControl(calculate);
  EXPECT_TRUE(waitUntil([&] { return textOf(output) == kQuote + kQuote; }))
      << narrow(textOf(output));

  // Closing the calculator ends the program with exit code 0.
  ::PostMessageW(calculator, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(quorvane.exitCode(10000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quorvane
