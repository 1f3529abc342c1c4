#include "shell.h"

#include <float.h>

#include <algorithm>
#include <list>
#include <vector>

#include "keyboard_focus.h"
#include "loaded_window.h"
#include "settings_file.h"
#include "text.h"
#include "win32_handles.h"

namespace quorvane {

namespace {

constexpr wchar_t kTimerClass[] = L"QuorvaneTimer";
constexpr wchar_t kOwnerClass[] = L"QuorvaneOwner";

// Private messages live above WM_APP; WM_USER and up belong to dialogs and controls.
constexpr UINT kUnloadMessage = WM_APP + 1;
constexpr UINT kRedirectActivationMessage = WM_APP + 2;

constexpr UINT_PTR kTimerId = 1000;
// A drop-down list lower than this is given this height, edit field and list together.
constexpr int kMinimumDroppedHeight = 160;
constexpr wchar_t kDefaultMessageBoxTitle[] = L"信息：";

struct Shell {
  HINSTANCE instance = nullptr;
  std::list<LoadedWindow> loaded;  // a list: records keep their address while others come and go
  UniqueWindow hiddenOwner;
  HWND activeModalWindow = nullptr;
  bool mainLoopStarted = false;
  UniqueIcon bigIcon;
  UniqueIcon smallIcon;
  WNDPROC editProcedure = nullptr;
};

Shell shell;

LoadedWindow* findLoaded(const WindowDefinition& definition) {
  for (LoadedWindow& w : shell.loaded) {
    if (w.definition == &definition) return &w;
  }
  return nullptr;
}

bool isLoadedWindow(HWND window) {
  return window && std::any_of(shell.loaded.begin(), shell.loaded.end(),
                               [&](const LoadedWindow& w) { return w.window == window; });
}

bool anyWindowAlive() {
  return std::any_of(shell.loaded.begin(), shell.loaded.end(),
                     [](const LoadedWindow& w) { return ::IsWindow(w.window); });
}

void reenableDisabledWindows(LoadedWindow& w) {
  for (const auto& [window, enabledBefore] : w.disabledWindows) {
    if (::IsWindow(window)) ::EnableWindow(window, enabledBefore);
  }
  w.disabledWindows.clear();
}

// Re-enabling first lets the platform hand the activation back to a window that was disabled.
void destroyLoadedWindow(LoadedWindow& w) {
  reenableDisabledWindows(w);
  ::DestroyWindow(w.window);
}

void sendDefaultGuiFont(HWND window) {
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
}

HFONT labelFontFor(LoadedWindow& w, const LabelStyle& style) {
  if (style.fontHeight <= 0) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  for (const UniqueFont& font : w.fonts) {
    LOGFONTW existing;
    ::GetObjectW(font.get(), sizeof existing, &existing);
    if (existing.lfHeight == -style.fontHeight && existing.lfWeight == style.fontWeight) {
      return font.get();
    }
  }
  // A negative height asks for the character height; an empty face name for the default face.
  w.fonts.emplace_back(::CreateFontW(
      -style.fontHeight, 0, 0, 0, style.fontWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L""));
  return w.fonts.back().get();
}

// Typed characters outside an edit box's accepted set are dropped without a sound; control
// characters (backspace, the clipboard shortcuts) and pasted text pass.
LRESULT CALLBACK filteredEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && wParam >= 0x20 && wParam != 0x7F) {
    const LoadedWindow* w = recordOf(::GetParent(edit));
    const ControlDefinition* c = w ? controlOfId(*w, ::GetDlgCtrlID(edit)) : nullptr;
    if (c && (wParam >= 0x80 ||
              c->acceptedCharacters.find(static_cast<char>(wParam)) == std::string_view::npos)) {
      return 0;
    }
  }
  return ::CallWindowProcW(shell.editProcedure, edit, message, wParam, lParam);
}

HWND createChild(const LoadedWindow& w, const ControlDefinition& c, int id, DWORD exStyle,
                 const wchar_t* windowClass, DWORD style, int height) {
  // Clipped by the siblings above them: radio buttons that overlap (as the calculator's do) keep
  // each its own circle visible.
  style |=
      WS_CHILD | WS_CLIPSIBLINGS | (c.tabStop ? WS_TABSTOP : 0) | (c.disabled ? WS_DISABLED : 0);
  return ::CreateWindowExW(
      exStyle, windowClass, widen(c.text).c_str(), style, c.bounds.x, c.bounds.y, c.bounds.width,
      height, w.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell.instance, nullptr);
}

// Creates one control, invisible, with its initial contents.
void createControl(LoadedWindow& w, const ControlDefinition& c, int id, LoadedControl& control) {
  const int height = c.bounds.height;
  switch (c.kind) {
    case ControlKind::Label:
      control.labelFont = labelFontFor(w, c.label);  // drawn by the window itself
      return;
    case ControlKind::ComboBox:
      control.handle =
          createChild(w, c, id, 0, L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL,
                      std::max(height, kMinimumDroppedHeight));
      for (const std::string_view item : c.items) {
        ::SendMessageW(control.handle, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(widen(item).c_str()));
      }
      ::SendMessageW(control.handle, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      ::SendMessageW(control.handle, CB_LIMITTEXT, 0, 0);
      break;
    case ControlKind::PushButton:
      control.handle = createChild(w, c, id, 0, L"BUTTON",
                                   (c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                                       BS_MULTILINE | BS_CENTER | BS_VCENTER,
                                   height);
      break;
    case ControlKind::RadioButton:
      control.handle = createChild(
          w, c, id, 0, L"BUTTON", BS_AUTORADIOBUTTON | BS_MULTILINE | BS_LEFT | BS_VCENTER, height);
      ::SendMessageW(control.handle, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::EditBox:
      control.handle = createChild(
          w, c, id, WS_EX_CLIENTEDGE, L"EDIT",
          c.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN : ES_AUTOHSCROLL | ES_LEFT,
          height);
      ::SendMessageW(control.handle, EM_LIMITTEXT, static_cast<WPARAM>(c.maxLength), 0);
      if (c.coloured) control.background.reset(::CreateSolidBrush(c.backColour));
      if (!c.acceptedCharacters.empty() && control.handle) {
        shell.editProcedure = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            control.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(filteredEditProcedure)));
      }
      break;
    case ControlKind::Timer:
      control.handle = ::CreateWindowExW(
          0, kTimerClass, L"", WS_CHILD, c.bounds.x, c.bounds.y, 0, 0, w.window,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell.instance, nullptr);
      if (control.handle && c.intervalMs > 0) {
        ::SetTimer(control.handle, kTimerId, static_cast<UINT>(c.intervalMs), nullptr);
      }
      return;
  }
  if (control.handle) sendDefaultGuiFont(control.handle);
}

void createControls(LoadedWindow& w) {
  const auto& definitions = w.definition->controls;
  w.controls.resize(definitions.size());
  for (size_t i = 0; i < definitions.size(); ++i) {
    createControl(w, definitions[i], kFirstControlId + static_cast<int>(i), w.controls[i]);
  }
  for (size_t i = 0; i < definitions.size(); ++i) {
    if (w.controls[i].handle && definitions[i].visible) {
      ::ShowWindow(w.controls[i].handle, SW_SHOWNA);
    }
  }
}

// Window creation up to, not including, the creation events: the new window exists, invisible,
// at its designed size, centred, with its controls. nullptr when it could not be created.
HWND createWindow(const WindowDefinition& definition, HWND parent, bool modal) {
  LoadedWindow& w = shell.loaded.emplace_back();
  w.definition = &definition;
  w.parent = parent;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (definition.minimizeBox) style |= WS_MINIMIZEBOX;
  if (definition.maximizeBox) style |= WS_MAXIMIZEBOX;
  if (parent) style |= WS_POPUP;
  // Owned by the hidden window: no taskbar button, and owned by no visible window of ours.
  const HWND owner = parent                                 ? parent
                     : (modal || !definition.showInTaskbar) ? hiddenOwnerWindow()
                                                            : nullptr;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - definition.outerWidth) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - definition.outerHeight) / 2;
  const HWND window = ::CreateWindowExW(0, kWindowClass, widen(definition.caption).c_str(), style,
                                        x, y, definition.outerWidth, definition.outerHeight, owner,
                                        nullptr, shell.instance, &w);
  if (!window) {
    shell.loaded.remove_if([&](const LoadedWindow& r) { return &r == &w; });
    return nullptr;
  }
  RECT outer;
  ::GetWindowRect(window, &outer);
  if (outer.right - outer.left != definition.outerWidth ||
      outer.bottom - outer.top != definition.outerHeight) {
    ::MoveWindow(window, x, y, definition.outerWidth, definition.outerHeight, FALSE);
  }
  ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shell.bigIcon.get()));
  ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shell.smallIcon.get()));
  sendDefaultGuiFont(window);
  createControls(w);
  return window;
}

// Raises created, moved and resized, each only while the window still exists, then shows it and,
// for a modal load, disables the other loaded windows without a parent.
void finishCreation(HWND window, bool modal) {
  for (const Event event : {Event::Created, Event::Moved, Event::Resized}) {
    if (!::IsWindow(window)) return;
    dispatchEvent(*recordOf(window)->definition, "", event);
  }
  if (!::IsWindow(window)) return;
  LoadedWindow& w = *recordOf(window);
  w.creationEventsRaised = true;
  ::GetWindowRect(window, &w.lastBounds);
  if (w.definition->visible) ::ShowWindow(window, SW_SHOW);
  if (!modal) return;
  w.loadedModally = true;
  for (const LoadedWindow& other : shell.loaded) {
    if (&other == &w || other.parent || !::IsWindow(other.window)) continue;
    w.disabledWindows.emplace_back(other.window, ::IsWindowEnabled(other.window) != FALSE);
    ::EnableWindow(other.window, FALSE);
  }
}

void paintLabels(const LoadedWindow& w) {
  PAINTSTRUCT paint;
  const HDC dc = ::BeginPaint(w.window, &paint);
  ::SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ originalFont = ::GetCurrentObject(dc, OBJ_FONT);
  const auto& definitions = w.definition->controls;
  for (size_t i = 0; i < definitions.size(); ++i) {
    const ControlDefinition& c = definitions[i];
    if (c.kind != ControlKind::Label || !c.visible) continue;
    ::SelectObject(dc, w.controls[i].labelFont);
    ::SetTextColor(dc, c.label.textColour);
    RECT box{c.bounds.x, c.bounds.y, c.bounds.x + c.bounds.width, c.bounds.y + c.bounds.height};
    const std::wstring text = widen(c.text);
    ::DrawTextW(
        dc, text.c_str(), static_cast<int>(text.size()), &box,
        DT_LEFT | DT_NOPREFIX | (c.label.wordWrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER));
  }
  ::SelectObject(dc, originalFont);
  ::EndPaint(w.window, &paint);
}

// The output box's colours, answered with the one brush made when the box was created.
LRESULT colourEdit(const LoadedWindow& w, HDC dc, HWND edit) {
  const ControlDefinition* c = controlOfId(w, ::GetDlgCtrlID(edit));
  if (!c || !c->coloured) return 0;
  ::SetTextColor(dc, c->textColour);
  ::SetBkColor(dc, c->backColour);
  const size_t index = static_cast<size_t>(c - w.definition->controls.data());
  return reinterpret_cast<LRESULT>(w.controls[index].background.get());
}

void onCommand(const LoadedWindow& w, WPARAM wParam) {
  if (HIWORD(wParam) != BN_CLICKED) return;
  const ControlDefinition* c = controlOfId(w, LOWORD(wParam));
  if (c && (c->kind == ControlKind::PushButton || c->kind == ControlKind::RadioButton)) {
    dispatchEvent(*w.definition, c->name, Event::Clicked);
  }
}

// After creation, the user's moves and size changes raise the events; the platform's own
// WM_MOVE and WM_SIZE when a window is first shown change nothing and raise nothing.
void onMovedOrResized(LoadedWindow& w) {
  if (!w.creationEventsRaised) return;
  RECT now;
  ::GetWindowRect(w.window, &now);
  const RECT before = w.lastBounds;
  w.lastBounds = now;
  const HWND window = w.window;
  if (now.left != before.left || now.top != before.top) {
    dispatchEvent(*w.definition, "", Event::Moved);
  }
  if (::IsWindow(window) && (now.right - now.left != before.right - before.left ||
                             now.bottom - now.top != before.bottom - before.top)) {
    dispatchEvent(*w.definition, "", Event::Resized);
  }
}

void onActivate(LoadedWindow& w, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    saveFocus(w);
    return;
  }
  // A disabled window activated by the user (its taskbar button, say) hands the activation on
  // to the modal window; posted, because activation must not change while it is being processed.
  if (!::IsWindowEnabled(w.window) && !w.parent && w.hasBeenActive) {
    ::PostMessageW(w.window, kRedirectActivationMessage, 0, 0);
  }
  w.hasBeenActive = true;
}

void redirectActivation() {
  for (const LoadedWindow& w : shell.loaded) {
    if (w.loadedModally && !w.parent && ::IsWindowVisible(w.window) &&
        ::IsWindowEnabled(w.window)) {
      ::SetActiveWindow(w.window);
      return;
    }
  }
}

// After the window's last message: its record goes, a modal run waiting on it ends, and with no
// window left the main loop is asked to end.
void onFinalDestroy(HWND window) {
  if (shell.activeModalWindow == window) shell.activeModalWindow = nullptr;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  shell.loaded.remove_if([&](const LoadedWindow& w) { return w.window == window; });
  if (shell.mainLoopStarted && !anyWindowAlive()) ::PostQuitMessage(0);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* w = static_cast<LoadedWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    w->window = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
  }
  LoadedWindow* w = recordOf(window);
  if (!w) return ::DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: paintLabels(*w); return 0;
    case WM_COMMAND: onCommand(*w, wParam); return 0;
    case WM_CTLCOLOREDIT:
      if (const LRESULT brush =
              colourEdit(*w, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return brush;
      }
      break;
    case WM_MOVE:
    case WM_SIZE: onMovedOrResized(*w); break;
    case WM_ACTIVATE: onActivate(*w, wParam); break;
    case WM_SETFOCUS: restoreFocus(*w); return 0;
    case kRedirectActivationMessage: redirectActivation(); return 0;
    case WM_CLOSE: destroyLoadedWindow(*w); return 0;
    case kUnloadMessage:
      if (w->destroyPending) {
        w->destroyPending = false;
        destroyLoadedWindow(*w);
      }
      return 0;
    case WM_DESTROY: dispatchEvent(*w->definition, "", Event::Destroyed); return 0;
    case WM_NCDESTROY: onFinalDestroy(window); return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// A timer control: an invisible child window whose WM_TIMER raises the timer's tick event.
LRESULT CALLBACK timerProcedure(HWND timer, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (const LoadedWindow* w = recordOf(::GetParent(timer))) {
      if (const ControlDefinition* c = controlOfId(*w, ::GetDlgCtrlID(timer))) {
        dispatchEvent(*w->definition, c->name, Event::Tick);
      }
    }
    return 0;
  }
  if (message == WM_DESTROY) ::KillTimer(timer, kTimerId);
  return ::DefWindowProcW(timer, message, wParam, lParam);
}

ATOM registerClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = shell.instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  ::RegisterClassExW(&windowClass);
  // Registered already (a second start-up in the same process): its atom all the same.
  return static_cast<ATOM>(::GetClassInfoExW(shell.instance, name, &windowClass));
}

UniqueIcon loadProgramIcon(int size) {
  return UniqueIcon(static_cast<HICON>(
      ::LoadImageW(shell.instance, L"DEFAULT_ICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

void initializeShell() {
  fixRunDirectory(directoryOfModulePath(executablePath()));
  ::SetCurrentDirectoryW(runDirectory().c_str());
  shell.instance = ::GetModuleHandleW(nullptr);
  registerClass(kOwnerClass, ::DefWindowProcW, nullptr);
  rememberWindowClass(
      registerClass(kWindowClass, windowProcedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
  registerClass(kTimerClass, timerProcedure, nullptr);
  // Round to nearest with every floating-point exception masked: no price arithmetic traps.
  ::_controlfp(_RC_NEAR | _MCW_EM, _MCW_RC | _MCW_EM);
  shell.bigIcon = loadProgramIcon(32);
  shell.smallIcon = loadProgramIcon(16);
}

void shutDownShell() {
  shell.mainLoopStarted = false;
  // Destroying a window drops its record, so the list is not walked while that happens.
  std::vector<HWND> left;
  for (const LoadedWindow& w : shell.loaded) left.push_back(w.window);
  for (const HWND window : left) {
    if (::IsWindow(window)) ::DestroyWindow(window);
  }
  shell.loaded.clear();
  shell.hiddenOwner.reset();
  shell.bigIcon.reset();
  shell.smallIcon.reset();
  shell.activeModalWindow = nullptr;
}

int startUp(const WindowDefinition& startWindow) {
  initializeShell();
  int exitCode = 1;  // the start window could not be created: nothing to run
  if (loadWindow(startWindow, nullptr, false)) {
    shell.mainLoopStarted = true;
    exitCode = anyWindowAlive() ? runMessageLoop(false) : 0;
  }
  shutDownShell();
  return exitCode;
}

bool loadWindow(const WindowDefinition& definition, const WindowDefinition* parent, bool modal) {
  if (LoadedWindow* existing = findLoaded(definition); existing && ::IsWindow(existing->window)) {
    if (!existing->destroyPending) {
      if (::IsIconic(existing->window)) {
        ::ShowWindow(existing->window, SW_RESTORE);
      } else {
        ::SetActiveWindow(existing->window);
      }
      return true;
    }
    destroyLoadedWindow(*existing);
  }
  HWND parentWindow = nullptr;
  if (parent && !modal) {
    parentWindow = windowHandle(*parent);
    if (!parentWindow) return false;
  }
  const HWND window = createWindow(definition, parentWindow, modal);
  if (!window) return false;
  finishCreation(window, modal);
  if (modal && ::IsWindow(window) && ::IsWindowVisible(window)) {
    const HWND saved = shell.activeModalWindow;
    shell.activeModalWindow = window;
    runMessageLoop(true);
    // The outer modal window may have gone meanwhile; its run then ends at once.
    shell.activeModalWindow = isLoadedWindow(saved) ? saved : nullptr;
  }
  return true;
}

void unloadWindow(const WindowDefinition& definition) {
  LoadedWindow* w = findLoaded(definition);
  if (!w || !::IsWindow(w->window)) return;
  w->destroyPending = true;
  ::PostMessageW(w->window, kUnloadMessage, 0, 0);
}

int showMessageBox(std::string_view text, UINT flags, std::optional<std::string_view> title,
                   HWND owner) {
  if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
  return ::MessageBoxW(owner, widen(text).c_str(),
                       title ? widen(*title).c_str() : kDefaultMessageBoxTitle, flags);
}

void dispatchEvent(const WindowDefinition& window, std::string_view element, Event event) {
  for (const EventBinding& binding : window.bindings) {
    if (binding.event == event && binding.element == element) {
      binding.handler();
      return;
    }
  }
}

int runMessageLoop(bool modal) {
  MSG message;
  for (;;) {
    if (modal && !shell.activeModalWindow) return 0;
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) return 1;
    if (!got) {
      // WM_QUIT inside a modal run also ends the loops around it.
      if (modal) ::PostQuitMessage(static_cast<int>(message.wParam));
      return static_cast<int>(message.wParam);
    }
    if (!handleWindowKeys(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

HWND windowHandle(const WindowDefinition& definition) {
  const LoadedWindow* w = findLoaded(definition);
  return w && ::IsWindow(w->window) ? w->window : nullptr;
}

HWND controlHandle(const WindowDefinition& definition, std::string_view name) {
  const LoadedWindow* w = findLoaded(definition);
  if (!w || !::IsWindow(w->window)) return nullptr;
  for (size_t i = 0; i < definition.controls.size(); ++i) {
    if (definition.controls[i].name == name) return w->controls[i].handle;
  }
  return nullptr;
}

HWND hiddenOwnerWindow() {
  // Made when a window first needs it: every top-level window costs Wine an X window, and a
  // start with "money.ini" in place needs none but the calculator.
  if (!shell.hiddenOwner) {
    shell.hiddenOwner.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", 0, 0, 0, 0, 0,
                                              nullptr, nullptr, shell.instance, nullptr));
  }
  return shell.hiddenOwner.get();
}

}  // namespace quorvane
