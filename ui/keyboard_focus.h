// What both windows share in keyboard handling and focus: Tab and Shift+Tab through the Tab
// order, the arrow keys among radio buttons, Enter and Esc at window level, and the control that
// gets the focus when a window is activated.
#pragma once

#include <windows.h>

#include <vector>

#include "loaded_window.h"

namespace quorvane {

// Window-level key handling, run by every message loop of the shell before TranslateMessage and
// DispatchMessage. True when the key was consumed and must not be dispatched.
bool handleWindowKeys(const MSG& message);

// The window's Tab order: its visible, enabled tab-stop controls by tab-order number, equal
// numbers in reverse definition order.
std::vector<HWND> tabOrder(const LoadedWindow& w);

// Deactivation keeps the focused control; when the window itself receives the focus it goes back
// there, or else to the first control of the Tab order.
void saveFocus(LoadedWindow& w);
void restoreFocus(LoadedWindow& w);

}  // namespace quorvane
