#include "window_definition.h"

namespace quorvane {

namespace {

ControlDefinition control(ControlKind kind, std::string name, Bounds bounds, std::string text,
                          bool tabStop) {
  ControlDefinition c;
  c.kind = kind;
  c.name = std::move(name);
  c.bounds = bounds;
  c.text = std::move(text);
  c.tabStop = tabStop;
  return c;
}

}  // namespace

ControlDefinition label(std::string name, Bounds bounds, std::string text, LabelStyle style) {
  ControlDefinition c =
      control(ControlKind::Label, std::move(name), bounds, std::move(text), false);
  c.label = style;
  return c;
}

ControlDefinition comboBox(std::string name, Bounds bounds, std::vector<std::string> items) {
  ControlDefinition c = control(ControlKind::ComboBox, std::move(name), bounds, {}, true);
  c.items = std::move(items);
  return c;
}

ControlDefinition pushButton(std::string name, Bounds bounds, std::string text) {
  return control(ControlKind::PushButton, std::move(name), bounds, std::move(text), true);
}

ControlDefinition radioButton(std::string name, Bounds bounds, std::string text, bool checked) {
  ControlDefinition c =
      control(ControlKind::RadioButton, std::move(name), bounds, std::move(text), true);
  c.checked = checked;
  return c;
}

ControlDefinition editBox(std::string name, Bounds bounds, int maxLength,
                          std::string acceptedCharacters) {
  ControlDefinition c = control(ControlKind::EditBox, std::move(name), bounds, {}, true);
  c.maxLength = maxLength;
  c.acceptedCharacters = std::move(acceptedCharacters);
  return c;
}

ControlDefinition outputBox(std::string name, Bounds bounds, Colour text, Colour back) {
  ControlDefinition c = control(ControlKind::EditBox, std::move(name), bounds, {}, true);
  c.multiLine = true;
  c.coloured = true;
  c.textColour = text;
  c.backColour = back;
  return c;
}

ControlDefinition timer(std::string name, Bounds bounds, int intervalMs) {
  ControlDefinition c = control(ControlKind::Timer, std::move(name), bounds, {}, false);
  c.visible = false;
  c.intervalMs = intervalMs;
  return c;
}

}  // namespace quorvane
