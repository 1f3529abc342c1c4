// What the window handlers read and change in their controls.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvane {

// A list's selected item, 0 for the first; -1 when none is selected.
int selectedIndex(HWND comboBox);

// The text of a list's item; the empty text for an index outside the list.
std::string itemText(HWND comboBox, int index);

bool isChecked(HWND button);

std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view text);

}  // namespace quorvane
