#include "platform/executable_path.h"

#include <gtest/gtest.h>

namespace vortaboot::platform {
namespace {

TEST(ExecutablePathTest, NamesThisTestProgram) {
  const std::filesystem::path path = executablePath();
  EXPECT_TRUE(path.is_absolute()) << path;
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
  EXPECT_EQ(path.filename(), "vortaboot_platform_tests");
}

}  // namespace
}  // namespace vortaboot::platform
