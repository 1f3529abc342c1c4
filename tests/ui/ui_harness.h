// Driving the shell's windows from a test on the GUI thread: work posted into whichever message
// loop runs next (a modal run, a message box), polling with a deadline, real mouse and keyboard
// input, message boxes caught and dismissed by the test, and counts of GDI and USER objects.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::testing {

// Runs `task` from the message loop that is running when its turn comes: the test's own, a modal
// run or a message box. Tasks run in the order they were posted.
void runSoon(std::function<void()> task);

// Runs `action` once `condition` holds, checked from a timer in whichever loop is running (a
// timer, unlike posted work, leaves the loop's own timers their turn).
void whenTrue(std::function<bool()> condition, std::function<void()> action);

// Dispatches messages until `done` holds; false when `timeoutMs` passed first.
bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Dispatches whatever is waiting for a short while (the platform's follow-up messages).
void pumpFor(int milliseconds);

// Runs the shell's own main loop until `done` holds, so that keys pass through the shell's
// window-level key handling as they do in the program; false when `timeoutMs` passed first.
bool runShellLoopUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// What a caught message box showed.
struct MessageBoxSeen {
  std::wstring title;
  std::wstring text;
  std::vector<int> buttonIds;
  bool hasIcon = false;
  HWND owner = nullptr;
  std::vector<bool> windowsEnabled;  // the watched windows, while the box was up
};

// Catches every message box of this thread while it lives: records it, then presses its first
// button. Windows to watch (for their enabled state while a box is up) may be given.
class MessageBoxCatcher {
 public:
  // The box is pressed once `dismissWhen` holds (at once when it is empty).
  explicit MessageBoxCatcher(std::vector<HWND> watched = {},
                             std::function<bool()> dismissWhen = nullptr);
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
  ~MessageBoxCatcher();

  const std::vector<MessageBoxSeen>& seen() const;
  void watch(std::vector<HWND> windows);
};

// Real input, as a user gives it: a left click at a point of the screen, a key press.
void clickAt(POINT screenPoint);
void clickControl(HWND control);
void pressKey(WORD virtualKey, bool shift = false);

// The process's GDI and USER objects. GetGuiResources where the platform counts them; under Wine,
// which does not, the live entries of the GDI handle table and this thread's windows.
int gdiObjectCount();
int userObjectCount();

// Each of the thread's top-level windows is treated as an application window with a taskbar
// button when it is visible, unowned and no tool window, or marked as an application window.
bool hasTaskbarButton(HWND window);

// Brings a window to the foreground as a user switching to it would.
void activateWindow(HWND window);

}  // namespace quorvane::testing
