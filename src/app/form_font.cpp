#include "app/form_font.h"

#include <QStringList>

namespace vortaboot::app {
namespace {

QFont FormFont(int pixelHeight, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

}  // namespace

QFont MainWindowFont() { return FormFont(11, true); }

QFont DialogFont() { return FormFont(10, false); }

}  // namespace vortaboot::app
