#pragma once
// Places the controls of the program's fixed-layout windows: each control is
// named after its role and sits at the pixel rectangle its window gives it.

#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace vortaboot::app {

QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, const QRect& rect);
QGroupBox* PlaceGroupBox(QWidget* parent, const char* name, const QString& title, const QRect& rect);
// Fixed size, text centred and word-wrapped.
QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, const QRect& rect);

}  // namespace vortaboot::app
