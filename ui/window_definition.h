// Windows described as data: a window's own properties, its controls in definition order, and
// the handlers bound to (element, event) pairs. The shell creates windows from these tables.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Handlers take nothing and return nothing; they reach controls through the shell by name.
using Handler = std::function<void()>;

enum class Event {
  Created,  // the window and its controls exist; the window is still invisible
  Moved,
  Resized,
  Destroyed,
  Clicked,  // push button or radio button
  Tick,     // timer
  Focus,    // the window itself received the keyboard focus
};

enum class ControlKind { Label, ComboBox, PushButton, RadioButton, EditBox, Timer };

struct Bounds {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// A colour as 0x00BBGGRR, the platform's COLORREF layout.
using Colour = uint32_t;
constexpr Colour rgb(uint8_t r, uint8_t g, uint8_t b) {
  return Colour{r} | Colour{g} << 8 | Colour{b} << 16;
}

// How a label draws its text over the window background.
struct LabelStyle {
  Colour textColour = rgb(0, 0, 0);
  int fontHeight = 0;     // character height in pixels; 0: the default GUI font
  int fontWeight = 400;   // 700 is bold
  bool wordWrap = false;  // otherwise one line, vertically centred
};

// Texts are literals of the program (string views into static storage), so that a window table
// is plain data.
struct ControlDefinition {
  ControlKind kind = ControlKind::Label;
  std::string_view name;
  Bounds bounds;
  std::string_view text;
  bool visible = true;
  bool disabled = false;
  bool tabStop = false;
  int tabOrder = 0;

  LabelStyle label;                         // Label
  std::span<const std::string_view> items;  // ComboBox, in this order, none selected at first
  bool checked = false;                     // RadioButton
  bool defaultButton = false;               // PushButton
  bool multiLine = false;                   // EditBox: word-wrapped, Enter starts a new line
  int maxLength = 0;                    // EditBox: characters; 0 is the platform's largest limit
  std::string_view acceptedCharacters;  // EditBox: typed characters outside it (ASCII) are dropped
  bool coloured = false;                // EditBox: drawn in textColour on backColour
  Colour textColour = rgb(0, 0, 0);
  Colour backColour = rgb(255, 255, 255);
  int intervalMs = 0;  // Timer: stopped at 0 or below
};

// An event of the window itself (element "") or of one of its controls (element = its name).
struct EventBinding {
  std::string_view element;
  Event event;
  Handler handler;
};

struct WindowDefinition {
  std::string name;  // for messages and tests; never shown
  std::string caption;
  int outerWidth = 0;  // the whole window rectangle, frame and caption bar included
  int outerHeight = 0;
  bool minimizeBox = true;
  bool maximizeBox = false;
  bool visible = true;
  bool showInTaskbar = true;
  bool escCloses = false;
  bool enterMovesFocus = false;
  std::vector<ControlDefinition> controls;
  std::vector<EventBinding> bindings;
};

// Shorthands that keep the window tables readable.
constexpr ControlDefinition control(ControlKind kind, std::string_view name, Bounds bounds,
                                    std::string_view text, bool tabStop) {
  ControlDefinition c;
  c.kind = kind;
  c.name = name;
  c.bounds = bounds;
  c.text = text;
  c.tabStop = tabStop;
  return c;
}

constexpr ControlDefinition label(std::string_view name, Bounds bounds, std::string_view text,
                                  LabelStyle style = {}) {
  ControlDefinition c = control(ControlKind::Label, name, bounds, text, false);
  c.label = style;
  return c;
}

constexpr ControlDefinition comboBox(std::string_view name, Bounds bounds,
                                     std::span<const std::string_view> items) {
  ControlDefinition c = control(ControlKind::ComboBox, name, bounds, {}, true);
  c.items = items;
  return c;
}

constexpr ControlDefinition pushButton(std::string_view name, Bounds bounds,
                                       std::string_view text) {
  return control(ControlKind::PushButton, name, bounds, text, true);
}

constexpr ControlDefinition radioButton(std::string_view name, Bounds bounds, std::string_view text,
                                        bool checked) {
  ControlDefinition c = control(ControlKind::RadioButton, name, bounds, text, true);
  c.checked = checked;
  return c;
}

constexpr ControlDefinition editBox(std::string_view name, Bounds bounds, int maxLength,
                                    std::string_view acceptedCharacters) {
  ControlDefinition c = control(ControlKind::EditBox, name, bounds, {}, true);
  c.maxLength = maxLength;
  c.acceptedCharacters = acceptedCharacters;
  return c;
}

constexpr ControlDefinition outputBox(std::string_view name, Bounds bounds, Colour text,
                                      Colour back) {
  ControlDefinition c = control(ControlKind::EditBox, name, bounds, {}, true);
  c.multiLine = true;
  c.coloured = true;
  c.textColour = text;
  c.backColour = back;
  return c;
}

// A timer has no visible form.
constexpr ControlDefinition timer(std::string_view name, Bounds bounds, int intervalMs) {
  ControlDefinition c = control(ControlKind::Timer, name, bounds, {}, false);
  c.visible = false;
  c.intervalMs = intervalMs;
  return c;
}

}  // namespace quorvane
