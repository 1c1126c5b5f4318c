// The window tests need one application object for all of them; listing the
// tests needs none, so a build can list them without any display.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

int main(int argc, char* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<QApplication> application;
  if (!::testing::GTEST_FLAG(list_tests)) application = std::make_unique<QApplication>(argc, argv);
  return RUN_ALL_TESTS();
}
