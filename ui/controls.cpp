#include "controls.h"

#include "text.h"

namespace quorvane {

int selectedIndex(HWND comboBox) {
  return static_cast<int>(::SendMessageW(comboBox, CB_GETCURSEL, 0, 0));
}

std::string itemText(HWND comboBox, int index) {
  // CB_GETLBTEXTLEN answers CB_ERR for an index outside the list.
  const auto length = ::SendMessageW(comboBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const auto copied = ::SendMessageW(comboBox, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return narrow(text);
}

bool isChecked(HWND button) { return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::string windowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return narrow(text);
}

void setWindowText(HWND window, std::string_view text) {
  ::SetWindowTextW(window, widen(text).c_str());
}

}  // namespace quorvane
