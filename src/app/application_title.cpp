#include "app/application_title.h"

namespace vortaboot::app {

QString ApplicationTitle(const std::filesystem::path& executablePath) {
  const QString fileName = QString::fromStdString(executablePath.filename().string());
  const QString stem = fileName.left(fileName.indexOf(QLatin1Char('.')));
  return stem.left(1) + stem.mid(1).toLower();
}

}  // namespace vortaboot::app
