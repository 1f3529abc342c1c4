// Windows described as data: a window's own properties, its controls in definition order, and
// the handlers bound to (element, event) pairs. The shell creates windows from these tables.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
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

struct ControlDefinition {
  ControlKind kind = ControlKind::Label;
  std::string name;
  Bounds bounds;
  std::string text;
  bool visible = true;
  bool disabled = false;
  bool tabStop = false;
  int tabOrder = 0;

  LabelStyle label;                // Label
  std::vector<std::string> items;  // ComboBox, in this order, none selected at first
  bool checked = false;            // RadioButton
  bool defaultButton = false;      // PushButton
  bool multiLine = false;          // EditBox: word-wrapped, Enter starts a new line
  int maxLength = 0;               // EditBox: characters; 0 is the platform's largest limit
  std::string acceptedCharacters;  // EditBox: typed printable characters outside it are dropped
  bool coloured = false;           // EditBox: drawn in textColour on backColour
  Colour textColour = rgb(0, 0, 0);
  Colour backColour = rgb(255, 255, 255);
  int intervalMs = 0;  // Timer: stopped at 0 or below
};

// An event of the window itself (element "") or of one of its controls (element = its name).
struct EventBinding {
  std::string element;
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
ControlDefinition label(std::string name, Bounds bounds, std::string text, LabelStyle style = {});
ControlDefinition comboBox(std::string name, Bounds bounds, std::vector<std::string> items);
ControlDefinition pushButton(std::string name, Bounds bounds, std::string text);
ControlDefinition radioButton(std::string name, Bounds bounds, std::string text, bool checked);
ControlDefinition editBox(std::string name, Bounds bounds, int maxLength,
                          std::string acceptedCharacters);
ControlDefinition outputBox(std::string name, Bounds bounds, Colour text, Colour back);
ControlDefinition timer(std::string name, Bounds bounds, int intervalMs);

}  // namespace quorvane
