// The desktop program: one main window, unless a copy of the program runs
// already.

#include <QApplication>

#include "app/desktop_program.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  vortaboot::app::DesktopProgram program;
  if (!program.Show()) return 0;
  return QApplication::exec();
}
