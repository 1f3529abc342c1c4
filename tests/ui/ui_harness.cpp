#include "ui_harness.h"

#include <winternl.h>

#include <chrono>
#include <deque>
#include <map>

#include "shell.h"

namespace quorvane::testing {

namespace {

constexpr UINT kRunTaskMessage = WM_APP + 40;

std::deque<std::function<void()>>& tasks() {
  static std::deque<std::function<void()>> queue;
  return queue;
}

LRESULT CALLBACK driverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunTaskMessage && !tasks().empty()) {
    std::function<void()> task = std::move(tasks().front());
    tasks().pop_front();
    task();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND driverWindow() {
  static const HWND window = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = driverProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvaneTestDriver";
    ::RegisterClassW(&windowClass);
    return ::CreateWindowW(L"QuorvaneTestDriver", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
  }();
  return window;
}

std::wstring textOf(HWND window) {
  wchar_t buffer[1024];
  const int n = ::GetWindowTextW(window, buffer, 1024);
  return std::wstring(buffer, static_cast<size_t>(n));
}

std::wstring classOf(HWND window) {
  wchar_t buffer[64];
  const int n = ::GetClassNameW(window, buffer, 64);
  return std::wstring(buffer, static_cast<size_t>(n));
}

struct CatcherState {
  HHOOK hook = nullptr;
  std::vector<HWND> watched;
  std::function<bool()> dismissWhen;
  std::vector<MessageBoxSeen> seen;
};
CatcherState* activeCatcher = nullptr;

// Presses the button once the catcher's condition holds, checked from the box's own loop.
void pressWhenDue(HWND box, HWND button) {
  if (!activeCatcher || !button) return;
  auto press = [box, button] {
    if (::IsWindow(box)) {
      ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
  };
  if (activeCatcher->dismissWhen) {
    whenTrue(activeCatcher->dismissWhen, press);
  } else {
    press();
  }
}

// Reads a message box as it stands, then presses its first button.
void inspectAndDismiss(HWND box) {
  if (!activeCatcher || !::IsWindow(box)) return;
  MessageBoxSeen seen;
  seen.title = textOf(box);
  seen.owner = ::GetWindow(box, GW_OWNER);
  HWND firstButton = nullptr;
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring kind = classOf(child);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
      seen.buttonIds.push_back(::GetDlgCtrlID(child));
      if (!firstButton) firstButton = child;
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
      // The icon's static is there, and visible, even without an icon: only its icon counts.
      if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen.hasIcon = ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
      } else if (::GetDlgCtrlID(child) == 0xFFFF) {
        seen.text = textOf(child);
      }
    }
  }
  for (const HWND window : activeCatcher->watched) {
    seen.windowsEnabled.push_back(::IsWindowEnabled(window) != FALSE);
  }
  activeCatcher->seen.push_back(std::move(seen));
  pressWhenDue(box, firstButton);
}

LRESULT CALLBACK catcherHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && activeCatcher) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (classOf(window) == L"#32770") {
      // Looked at from the box's own loop, once it is fully up.
      runSoon([window] { inspectAndDismiss(window); });
    }
  }
  return ::CallNextHookEx(activeCatcher ? activeCatcher->hook : nullptr, code, wParam, lParam);
}

void sendInputs(std::vector<INPUT> inputs) {
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT keyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// One entry of the GDI handle table that the platform maps into every process.
struct GdiHandleEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr size_t kGdiHandleCount = 0x10000;
constexpr size_t kPebGdiSharedHandleTable = 0xF8;  // x64 PEB

BOOL CALLBACK countChildWindows(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK countThreadWindows(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  ::EnumChildWindows(window, countChildWindows, count);
  return TRUE;
}

}  // namespace

namespace {

struct PendingAction {
  std::function<bool()> condition;
  std::function<void()> action;
};
std::map<UINT_PTR, PendingAction>& pendingActions() {
  static std::map<UINT_PTR, PendingAction> pending;
  return pending;
}

void CALLBACK checkPendingAction(HWND, UINT, UINT_PTR timer, DWORD) {
  const auto at = pendingActions().find(timer);
  if (at == pendingActions().end() || !at->second.condition()) return;
  ::KillTimer(nullptr, timer);
  const std::function<void()> action = std::move(at->second.action);
  pendingActions().erase(at);
  action();
}

}  // namespace

void whenTrue(std::function<bool()> condition, std::function<void()> action) {
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 5, checkPendingAction);
  pendingActions()[timer] = {std::move(condition), std::move(action)};
}

void runSoon(std::function<void()> task) {
  tasks().push_back(std::move(task));
  ::PostMessageW(driverWindow(), kRunTaskMessage, 0, 0);
}

bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return done();
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void pumpFor(int milliseconds) {
  pumpUntil([] { return false; }, milliseconds);
}

namespace {

struct ShellLoopWait {
  std::function<bool()> done;
  std::chrono::steady_clock::time_point deadline;
};
ShellLoopWait* shellLoopWait = nullptr;

void CALLBACK checkShellLoopWait(HWND, UINT, UINT_PTR, DWORD) {
  if (shellLoopWait &&
      (shellLoopWait->done() || std::chrono::steady_clock::now() >= shellLoopWait->deadline)) {
    ::PostQuitMessage(0);
  }
}

}  // namespace

bool runShellLoopUntil(const std::function<bool()>& done, int timeoutMs) {
  ShellLoopWait wait{done, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)};
  ShellLoopWait* const outer = shellLoopWait;
  shellLoopWait = &wait;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, checkShellLoopWait);
  runMessageLoop(false);
  ::KillTimer(nullptr, timer);
  shellLoopWait = outer;
  return done();
}

MessageBoxCatcher::MessageBoxCatcher(std::vector<HWND> watched, std::function<bool()> dismissWhen) {
  static CatcherState state;
  state = CatcherState{};
  state.watched = std::move(watched);
  state.dismissWhen = std::move(dismissWhen);
  state.hook = ::SetWindowsHookExW(WH_CBT, catcherHook, nullptr, ::GetCurrentThreadId());
  activeCatcher = &state;
}

MessageBoxCatcher::~MessageBoxCatcher() {
  ::UnhookWindowsHookEx(activeCatcher->hook);
  activeCatcher = nullptr;
}

const std::vector<MessageBoxSeen>& MessageBoxCatcher::seen() const { return activeCatcher->seen; }

void MessageBoxCatcher::watch(std::vector<HWND> windows) {
  activeCatcher->watched = std::move(windows);
}

void clickAt(POINT point) {
  // Each event carries the point and the move flag: Wine places a button event without it at
  // the cursor position it last knew, which a late pointer event from the X server may have
  // moved back to where the previous click was.
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((point.x * 65536 + width / 2) / width);
  input.mi.dy = static_cast<LONG>((point.y * 65536 + height / 2) / height);
  std::vector<INPUT> inputs(3, input);
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  sendInputs(inputs);
}

void clickControl(HWND control) {
  RECT box;
  ::GetWindowRect(control, &box);
  clickAt({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}

void pressKey(WORD virtualKey, bool shift) {
  std::vector<INPUT> inputs;
  if (shift) inputs.push_back(keyInput(VK_SHIFT, false));
  inputs.push_back(keyInput(virtualKey, false));
  inputs.push_back(keyInput(virtualKey, true));
  if (shift) inputs.push_back(keyInput(VK_SHIFT, true));
  sendInputs(inputs);
}

int gdiObjectCount() {
  if (const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) {
    return static_cast<int>(n);
  }
  PROCESS_BASIC_INFORMATION process{};
  ::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &process,
                              sizeof process, nullptr);
  const auto* peb = reinterpret_cast<const uint8_t*>(process.PebBaseAddress);
  const auto* table =
      *reinterpret_cast<const GdiHandleEntry* const*>(peb + kPebGdiSharedHandleTable);
  if (!table) return -1;
  int count = 0;
  for (size_t i = 0; i < kGdiHandleCount; ++i) count += table[i].type != 0;
  return count;
}

int userObjectCount() {
  if (const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)) {
    return static_cast<int>(n);
  }
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), countThreadWindows, reinterpret_cast<LPARAM>(&count));
  return count;
}

bool hasTaskbarButton(HWND window) {
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (exStyle & WS_EX_APPWINDOW) return true;
  return !::GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW);
}

void activateWindow(HWND window) {
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
}

}  // namespace quorvane::testing
