// capture_window OUT.png [TIMEOUT-MS]: waits for a visible Quorvane window, saves a picture of it
// and asks it to close. `make run` uses it when there is no display to show Quorvane on.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "window_screenshot.h"

namespace {

HWND visibleQuorvaneWindow() {
  HWND found = nullptr;
  ::EnumWindows(
      [](HWND w, LPARAM result) -> BOOL {
        wchar_t name[64];
        ::GetClassNameW(w, name, 64);
        if (wcscmp(name, L"QuorvaneWindow") != 0 || !::IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(result) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: capture_window OUT.png [TIMEOUT-MS]\n", stderr);
    return 2;
  }
  const int timeoutMs = argc > 2 ? _wtoi(argv[2]) : 30000;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  HWND window = nullptr;
  while (!(window = visibleQuorvaneWindow())) {
    if (std::chrono::steady_clock::now() >= deadline) {
      std::fputs("capture_window: no Quorvane window appeared\n", stderr);
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  // Let the first paint finish before the picture is taken.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const bool saved = quorvane::saveWindowScreenshot(window, argv[1]);
  ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  return saved ? 0 : 1;
}
