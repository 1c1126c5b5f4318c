#include "app/application_title.h"

#include <gtest/gtest.h>

namespace vortaboot::app {
namespace {

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithTheFirstLetterKept) {
  const struct {
    const char* executable;
    const char* title;
  } cases[] = {
      {"/opt/tools/LOADER.EXE", "Loader"},
      {"/opt/tools/vortaboot", "vortaboot"},
      {"/opt/tools/VortaBoot.1.2", "Vortaboot"},
      {"/opt/tools/ЗАГРУЗЧИК.bin", "Загрузчик"},
      {"relative/x.Y", "x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplicationTitle(c.executable).toStdString(), c.title) << c.executable;
  }
}

}  // namespace
}  // namespace vortaboot::app
