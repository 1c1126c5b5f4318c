#include "app/logo.h"

#include <QFont>
#include <QPainter>
#include <QPen>

namespace vortaboot::app {
namespace {

const QColor kInk(22, 62, 140);
const QColor kAccent(40, 140, 210);

// Three arcs of growing radius, each turned a third further, around the
// centre of `square`: a small vortex.
void DrawSwirl(QPainter& painter, const QRectF& square) {
  const QPointF centre = square.center();
  const qreal largest = square.width() / 2 - 2;
  for (int ring = 0; ring < 3; ++ring) {
    const qreal radius = largest * (ring + 1) / 3;
    QPen pen(ring == 1 ? kAccent : kInk, 2.6, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    const QRectF bounds(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.drawArc(bounds, (90 + ring * 120) * 16, 250 * 16);
  }
}

void DrawName(QPainter& painter, const QRectF& area) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(static_cast<int>(area.height() * 0.62));
  font.setLetterSpacing(QFont::PercentageSpacing, 104);
  painter.setFont(font);
  painter.setPen(kInk);
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("vortaboot"));
}

}  // namespace

QPixmap DrawLogo(const QSize& size) {
  QPixmap logo(size);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal side = size.height();
  DrawSwirl(painter, QRectF(0, 0, side, side));
  DrawName(painter, QRectF(side + 8, 0, size.width() - side - 8, side));
  return logo;
}

}  // namespace vortaboot::app
