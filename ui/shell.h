// The application shell: start-up, windows created from their definitions, events raised on the
// program's handlers, modal runs, message boxes and the message loop. One GUI thread.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "window_definition.h"

namespace quorvane {

// Runs the program: fixes the run directory, loads the start window (not modal, no parent), runs
// the main loop until the last window has gone and returns the exit code that ended it.
int startUp(const WindowDefinition& startWindow);

// The steps of startUp before the start window, and the release of what they made; in-process
// tests run their windows between the two.
void initializeShell();
void shutDownShell();

// Creates and shows a window, or activates it when it is loaded already. Modal: the parent is
// ignored, every other loaded window without a parent is disabled, and the call returns only once
// the window has been destroyed. False when the window could not be created.
bool loadWindow(const WindowDefinition& window, const WindowDefinition* parent, bool modal);

// Asks for the window's destruction, which the message loop carries out once the running
// handler has returned.
void unloadWindow(const WindowDefinition& window);

// A message box: title "信息：" unless given, task-modal unless system-modal is asked for.
// Returns the button pressed.
int showMessageBox(std::string_view text, UINT flags = 0,
                   std::optional<std::string_view> title = std::nullopt, HWND owner = nullptr);

// Runs the handler bound to (element, event) of the window, if there is one; element "" is the
// window itself.
void dispatchEvent(const WindowDefinition& window, std::string_view element, Event event);

// The main loop (until WM_QUIT, whose exit code it returns) or a modal run (until the innermost
// modal window has gone).
int runMessageLoop(bool modal);

// The native windows of a loaded window and of its controls; nullptr when not loaded or, for a
// control, when it has no window of its own (labels are drawn by their window).
HWND windowHandle(const WindowDefinition& window);
HWND controlHandle(const WindowDefinition& window, std::string_view name);

// The invisible window that owns the windows that must have no taskbar button.
HWND hiddenOwnerWindow();

}  // namespace quorvane
