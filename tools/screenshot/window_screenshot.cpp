#include "window_screenshot.h"

#include <fstream>
#include <thread>
#include <vector>

#include "png_writer.h"

namespace quorvane {

bool saveWindowScreenshot(HWND window, const std::filesystem::path& file) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // The window belongs to another process, which paints when its loop gets to it.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  RECT box;
  ::GetWindowRect(window, &box);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY | CAPTUREBLT);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  const auto* bgra = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = packRgba(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i], 255);
  }
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  std::ofstream out(file, std::ios::binary);
  out << encodePng(width, height, pixels);
  return static_cast<bool>(out);
}

}  // namespace quorvane
