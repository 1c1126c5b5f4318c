#pragma once
// What a fixed-layout window is checked against: each control by name, its
// kind, the control it sits in, its rectangle and its text.

#include <QRect>
#include <QWidget>
#include <string>

namespace vortaboot::testing {

struct ControlLayout {
  const char* name;
  const char* kind;    // the Qt class
  const char* parent;  // objectName of the widget it sits in
  QRect rect;
  const char* text;    // "" for a control without text
};

// The text shown by a label, button or group box; empty for others.
std::string ShownText(const QWidget& control);

// True when the control's text is drawn whole inside it in its own font.
bool TextFits(const QWidget& control);

}  // namespace vortaboot::testing
