#include "layout_expectations.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>

namespace vortaboot::testing {
namespace {

bool LabelTextFits(const QLabel& label) {
  const QRect room = label.contentsRect();
  const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
  const QRect needed = QFontMetrics(label.font()).boundingRect(room, flags, label.text());
  return room.contains(needed);
}

bool ButtonTextFits(const QAbstractButton& button) {
  return button.sizeHint().width() <= button.width();
}

}  // namespace

std::string ShownText(const QWidget& control) {
  if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text().toStdString();
  if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text().toStdString();
  if (auto* box = qobject_cast<const QGroupBox*>(&control)) return box->title().toStdString();
  return {};
}

bool TextFits(const QWidget& control) {
  if (auto* label = qobject_cast<const QLabel*>(&control)) return LabelTextFits(*label);
  if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return ButtonTextFits(*button);
  if (auto* box = qobject_cast<const QGroupBox*>(&control)) {
    return QFontMetrics(box->font()).horizontalAdvance(box->title()) < box->width();
  }
  return true;
}

}  // namespace vortaboot::testing
