// A window as it stands on the screen, saved as a PNG file (the README's pictures, and the
// picture `make run` takes when there is no display to show Quorvane on).
#pragma once

#include <windows.h>

#include <filesystem>

namespace quorvane {

// Redraws the window, then copies its rectangle from the screen. False if the file could not
// be written.
bool saveWindowScreenshot(HWND window, const std::filesystem::path& file);

}  // namespace quorvane
