#include "screenshot_frame.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

namespace vortaboot::testing {
namespace {

constexpr int kBorder = 3;
constexpr int kTitleHeight = 22;
constexpr int kButtonSide = 16;

void DrawTitleButton(QPainter& painter, const QRect& box, const QString& glyph) {
  painter.fillRect(box, QColor(212, 208, 200));
  painter.setPen(QColor(64, 64, 64));
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  painter.drawText(box, Qt::AlignCenter, glyph);
}

void DrawTitleBar(QPainter& painter, const QRect& bar, const QWidget& window) {
  QLinearGradient shade(bar.topLeft(), bar.topRight());
  shade.setColorAt(0, QColor(10, 36, 106));
  shade.setColorAt(1, QColor(166, 202, 240));
  painter.fillRect(bar, shade);
  QFont font = window.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(bar.adjusted(6, 0, -60, 0), Qt::AlignLeft | Qt::AlignVCenter, window.windowTitle());

  QRect button(bar.right() - kButtonSide - 3, bar.top() + 3, kButtonSide, kButtonSide);
  if (window.windowFlags() & Qt::WindowCloseButtonHint) {
    DrawTitleButton(painter, button, QStringLiteral("×"));
    button.translate(-kButtonSide - 2, 0);
  }
  if (window.windowFlags() & Qt::WindowMinimizeButtonHint) DrawTitleButton(painter, button, QStringLiteral("_"));
}

}  // namespace

QImage FramedPicture(QWidget& window) {
  const QPixmap client = window.grab();
  QImage picture(client.width() + 2 * kBorder, client.height() + kTitleHeight + 2 * kBorder,
                 QImage::Format_RGB32);
  picture.fill(QColor(212, 208, 200));
  QPainter painter(&picture);
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
  DrawTitleBar(painter, QRect(kBorder, kBorder, client.width(), kTitleHeight), window);
  painter.drawPixmap(kBorder, kBorder + kTitleHeight, client);
  return picture;
}

}  // namespace vortaboot::testing
