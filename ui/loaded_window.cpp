#include "loaded_window.h"

namespace quorvane {

namespace {
ATOM shellWindowClass = 0;
}

void rememberWindowClass(ATOM windowClass) { shellWindowClass = windowClass; }

LoadedWindow* recordOf(HWND window) {
  // Other windows (controls, message boxes) may use their user data for something else.
  if (!window || ::GetClassLongPtrW(window, GCW_ATOM) != shellWindowClass) return nullptr;
  return reinterpret_cast<LoadedWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

const ControlDefinition* controlOfId(const LoadedWindow& w, int id) {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(w.definition->controls.size())) return nullptr;
  return &w.definition->controls[static_cast<size_t>(index)];
}

}  // namespace quorvane
