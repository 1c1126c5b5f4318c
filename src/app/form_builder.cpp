#include "app/form_builder.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace vortaboot::app {
namespace {

template <typename Control>
Control* Place(Control* control, const char* name, const QRect& rect) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(rect);
  return control;
}

}  // namespace

QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, const QRect& rect) {
  return Place(new QPushButton(text, parent), name, rect);
}

QGroupBox* PlaceGroupBox(QWidget* parent, const char* name, const QString& title, const QRect& rect) {
  return Place(new QGroupBox(title, parent), name, rect);
}

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, const QRect& rect) {
  auto* label = Place(new QLabel(text, parent), name, rect);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

}  // namespace vortaboot::app
