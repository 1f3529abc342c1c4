// The shell's record of a loaded window, shared by the shell's modules (not by the windows).
#pragma once

#include <windows.h>

#include <vector>

#include "win32_handles.h"
#include "window_definition.h"

namespace quorvane {

// Controls get the child ids kFirstControlId, kFirstControlId + 1, ... in definition order.
inline constexpr int kFirstControlId = 100;

struct LoadedControl {
  HWND handle = nullptr;      // none for labels
  HFONT labelFont = nullptr;  // labels with a font of their own
  UniqueBrush background;     // coloured edit boxes
};

struct LoadedWindow {
  const WindowDefinition* definition = nullptr;
  HWND window = nullptr;
  HWND parent = nullptr;
  std::vector<LoadedControl> controls;  // in definition order
  std::vector<UniqueFont> fonts;        // the label fonts, one per size and weight
  bool destroyPending = false;
  bool loadedModally = false;
  bool creationEventsRaised = false;
  RECT lastBounds{};  // moved and resized are raised only when these change
  bool hasBeenActive = false;
  HWND savedFocus = nullptr;  // the control that had the focus when the window was deactivated
  std::vector<std::pair<HWND, bool>> disabledWindows;  // (window, enabled before)
};

// The window class of the shell's windows, registered once at start-up.
inline constexpr wchar_t kWindowClass[] = L"QuorvaneWindow";
void rememberWindowClass(ATOM windowClass);

// The record behind a window of the shell (its GWLP_USERDATA); nullptr for any other window.
LoadedWindow* recordOf(HWND window);

// The control of a window by its child id, or nullptr.
const ControlDefinition* controlOfId(const LoadedWindow& w, int id);

}  // namespace quorvane
