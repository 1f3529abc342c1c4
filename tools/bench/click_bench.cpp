// A click of "计算", in-process: from the click to the line in the output box, in microseconds,
// with an empty box and with 10,000 lines in it. The floor is what the platform itself needs to
// put a line at the end of an identical edit control: EM_SETSEL and EM_REPLACESEL alone.
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "bench_stats.h"
#include "calculator_window.h"
#include "controls.h"
#include "settings_file.h"
#include "shell.h"
#include "text.h"

namespace {

using quorvane::bench::microseconds;
using quorvane::bench::Samples;

void pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// The floor's window answers its edit control's colours as the calculator answers the output
// box's: green on black, with one brush.
LRESULT CALLBACK floorWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static const HBRUSH black = ::CreateSolidBrush(RGB(0, 0, 0));
  if (message == WM_CTLCOLOREDIT) {
    ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 255, 0));
    ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(black);
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// The floor's window: a bare window with an edit control made as the output box is made.
HWND makeFloorEdit(HWND outputBox) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = floorWindowProcedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"FloorWindow";
  ::RegisterClassW(&windowClass);
  const HWND window = ::CreateWindowExW(0, L"FloorWindow", L"floor",
                                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0,
                                        410, 297, nullptr, nullptr, nullptr, nullptr);
  RECT box;
  ::GetWindowRect(outputBox, &box);
  const HWND edit = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", L"",
      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP, -1, 170,
      box.right - box.left, box.bottom - box.top, window, nullptr, nullptr, nullptr);
  ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  ::SendMessageW(edit, EM_LIMITTEXT, 0, 0);
  return edit;
}

void appendAtTheEnd(HWND edit, const std::wstring& line) {
  const WPARAM end = static_cast<WPARAM>(::GetWindowTextLengthW(edit));
  ::SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
  ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

// Both boxes start each round with the same text; the two sides take turns going first.
bool measure(const char* what, HWND outputBox, HWND floorEdit, const std::wstring& startText,
             const std::wstring& line, int rounds) {
  Samples ours, floor;
  for (int i = 0; i < rounds; ++i) {
    // Each box as the previous quote left it: the text, the view at its end.
    for (const HWND box : {outputBox, floorEdit}) {
      ::SetWindowTextW(box, startText.c_str());
      const WPARAM end = static_cast<WPARAM>(::GetWindowTextLengthW(box));
      ::SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
      ::SendMessageW(box, EM_SCROLLCARET, 0, 0);
    }
    pump();
    // Until the line is on the screen: the insertion and the box's repaint.
    const auto click = [&] {
      ours.add(microseconds([&] {
        quorvane::onCalculateClicked();
        ::UpdateWindow(outputBox);
      }));
    };
    const auto append = [&] {
      floor.add(microseconds([&] {
        appendAtTheEnd(floorEdit, line);
        ::UpdateWindow(floorEdit);
      }));
    };
    if (i % 2) {
      click();
      append();
    } else {
      append();
      click();
    }
  }
  return quorvane::bench::report(what, ours, floor, "floor", "us", 1.20);
}

}  // namespace

int main() {
  quorvane::initializeShell();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "quorvane-click-bench";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "money.ini", std::ios::binary)
      << "[\xBC\xDB\xB8\xF1]\r\nht=10\r\nby=20\r\nhj=30\r\nbj=40\r\nzs=50\r\ndq=5\r\n15=3\r\n14="
         "8\r\n";
  quorvane::fixRunDirectory(folder.native());

  const auto& calculator = quorvane::calculatorWindow();
  quorvane::loadWindow(calculator, nullptr, false);
  const char* lists[] = {"组合框_当前段位", "组合框_当前级别", "组合框_目标段位", "组合框_目标级别",
                         "组合框_大区"};
  const int route[] = {1, 2, 2, 1, 1};
  for (int i = 0; i < 5; ++i) {
    ::SendMessageW(quorvane::controlHandle(calculator, lists[i]), CB_SETCURSEL,
                   static_cast<WPARAM>(route[i]), 0);
  }
  const HWND outputBox = quorvane::controlHandle(calculator, "编辑框1");
  const HWND floorEdit = makeFloorEdit(outputBox);
  const std::wstring line = quorvane::widen("从 不屈白银三 代练至 荣耀黄金四 需要：100元。\r\n");
  pump();

  bool met = measure("click of 计算, empty box", outputBox, floorEdit, L"", line, 1000);
  std::wstring tenThousandLines;
  for (int i = 0; i < 10000; ++i) tenThousandLines += line;
  met &= measure("click of 计算, 10,000 lines in the box", outputBox, floorEdit, tenThousandLines,
                 line, 200);

  quorvane::shutDownShell();
  std::filesystem::remove_all(folder);
  return met ? 0 : 1;
}
