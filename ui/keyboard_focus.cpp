#include "keyboard_focus.h"

#include <algorithm>

#include "shell.h"

namespace quorvane {

namespace {

// The shell window a message is for, and the control (a direct child of that window) that holds
// the keyboard focus; a list's inner edit field stands for its list.
struct KeyTarget {
  LoadedWindow* window = nullptr;
  HWND control = nullptr;
  const ControlDefinition* definition = nullptr;
};

KeyTarget keyTargetOf(HWND focused) {
  // GA_PARENT, not GetParent: a top-level window's GetParent is its owner.
  for (HWND child = focused; child; child = ::GetAncestor(child, GA_PARENT)) {
    if (LoadedWindow* w = recordOf(child)) return {w, nullptr, nullptr};  // the window itself
    if (LoadedWindow* w = recordOf(::GetAncestor(child, GA_PARENT))) {
      return {w, child, controlOfId(*w, ::GetDlgCtrlID(child))};
    }
  }
  return {};
}

bool isMultiLineEdit(const ControlDefinition* c) {
  return c && c->kind == ControlKind::EditBox && c->multiLine;
}

bool isOpenList(const KeyTarget& t) {
  return t.definition && t.definition->kind == ControlKind::ComboBox &&
         ::SendMessageW(t.control, CB_GETDROPPEDSTATE, 0, 0);
}

// Controls may claim keys for themselves: the editable output box takes Enter (a new line), and
// a dropped-down list takes Enter and Esc to close itself.
bool claimsKey(const KeyTarget& t, WPARAM key) {
  switch (key) {
    case VK_RETURN: return isMultiLineEdit(t.definition) || isOpenList(t);
    case VK_ESCAPE: return isOpenList(t);
    default: return false;
  }
}

// The control after (or before) `current` in `order`, wrapping; the first (or last) when
// `current` is not in it.
HWND step(const std::vector<HWND>& order, HWND current, bool forward) {
  if (order.empty()) return nullptr;
  const auto at = std::find(order.begin(), order.end(), current);
  if (at == order.end()) return forward ? order.front() : order.back();
  const size_t i = static_cast<size_t>(at - order.begin());
  return forward ? order[(i + 1) % order.size()] : order[(i + order.size() - 1) % order.size()];
}

void moveFocus(const KeyTarget& t, bool forward) {
  if (const HWND next = step(tabOrder(*t.window), t.control, forward)) ::SetFocus(next);
}

// Left/Up and Right/Down on a radio button: the check moves to the previous or next radio
// button of the same parent in the Tab order, and that button's clicked event is raised.
void moveRadioCheck(const KeyTarget& t, bool forward) {
  std::vector<HWND> radios;
  for (const HWND control : tabOrder(*t.window)) {
    const ControlDefinition* c = controlOfId(*t.window, ::GetDlgCtrlID(control));
    if (c->kind == ControlKind::RadioButton) radios.push_back(control);
  }
  const HWND next = step(radios, t.control, forward);
  if (!next) return;
  const auto& definitions = t.window->definition->controls;
  for (size_t i = 0; i < definitions.size(); ++i) {
    if (definitions[i].kind == ControlKind::RadioButton) {
      ::SendMessageW(t.window->controls[i].handle, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
  ::SendMessageW(next, BM_SETCHECK, BST_CHECKED, 0);
  ::SetFocus(next);
  dispatchEvent(*t.window->definition, controlOfId(*t.window, ::GetDlgCtrlID(next))->name,
                Event::Clicked);
}

bool isDefaultButton(const ControlDefinition* c) {
  return c && c->kind == ControlKind::PushButton && c->defaultButton;
}

HWND firstDefaultButton(const LoadedWindow& w) {
  const auto& definitions = w.definition->controls;
  for (size_t i = 0; i < definitions.size(); ++i) {
    if (isDefaultButton(&definitions[i])) return w.controls[i].handle;
  }
  return nullptr;
}

void pressEnter(const KeyTarget& t) {
  if (isDefaultButton(t.definition)) {
    ::SendMessageW(t.control, BM_CLICK, 0, 0);
  } else if (t.window->definition->enterMovesFocus) {
    moveFocus(t, true);
  } else if (const HWND button = firstDefaultButton(*t.window)) {
    ::SendMessageW(button, BM_CLICK, 0, 0);
  }
}

bool isRadioButton(const ControlDefinition* c) { return c && c->kind == ControlKind::RadioButton; }

}  // namespace

bool handleWindowKeys(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  const KeyTarget t = keyTargetOf(message.hwnd);
  if (!t.window) return false;
  const WPARAM key = message.wParam;
  if (claimsKey(t, key)) return false;
  switch (key) {
    case VK_TAB: moveFocus(t, ::GetKeyState(VK_SHIFT) >= 0); return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (!isRadioButton(t.definition)) return false;
      moveRadioCheck(t, key == VK_RIGHT || key == VK_DOWN);
      return true;
    case VK_RETURN: pressEnter(t); return true;
    case VK_ESCAPE:
      if (!t.window->definition->escCloses) return false;
      ::SendMessageW(t.window->window, WM_CLOSE, 0, 0);
      return true;
    default: return false;
  }
}

std::vector<HWND> tabOrder(const LoadedWindow& w) {
  struct Entry {
    int tabOrder;
    HWND control;
  };
  std::vector<Entry> entries;
  const auto& definitions = w.definition->controls;
  // Walking the definition backwards and sorting stably puts equal numbers in reverse order.
  for (size_t i = definitions.size(); i-- > 0;) {
    const HWND control = w.controls[i].handle;
    if (definitions[i].tabStop && control && ::IsWindowVisible(control) &&
        ::IsWindowEnabled(control)) {
      entries.push_back({definitions[i].tabOrder, control});
    }
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.tabOrder < b.tabOrder; });
  std::vector<HWND> order;
  for (const Entry& e : entries) order.push_back(e.control);
  return order;
}

void saveFocus(LoadedWindow& w) {
  const HWND focused = ::GetFocus();
  if (focused && ::IsChild(w.window, focused)) w.savedFocus = focused;
}

void restoreFocus(LoadedWindow& w) {
  const HWND window = w.window;
  dispatchEvent(*w.definition, "", Event::Focus);
  if (!::IsWindow(window)) return;
  const HWND saved = w.savedFocus;
  w.savedFocus = nullptr;
  if (saved && ::IsWindow(saved) && ::IsChild(window, saved)) {
    ::SetFocus(saved);
  } else if (const std::vector<HWND> order = tabOrder(w); !order.empty()) {
    ::SetFocus(order.front());
  }
}

}  // namespace quorvane
