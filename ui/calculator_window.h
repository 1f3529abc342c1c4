// The calculator window: the start window, where quotes are made.
#pragma once

#include <string_view>

#include "window_definition.h"

namespace quorvane {

const WindowDefinition& calculatorWindow();

// The click of "计算": reads the five lists, makes sure "money.ini" exists and every list has a
// selection, then appends one quote line for each win-point radio button that is on.
void onCalculateClicked();

// Appends text at the very end of the output box, whatever the user had selected there, and
// scrolls it into view.
void appendOutputText(std::string_view text);

}  // namespace quorvane
