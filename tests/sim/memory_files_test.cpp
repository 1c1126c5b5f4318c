#include "sim/memory_files.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace vortaboot::sim {
namespace {

using vortaboot::testing::ReadFileText;
using vortaboot::testing::TempFolder;
using vortaboot::testing::WriteFileText;

Page pageOf(std::uint8_t value) {
  Page page;
  page.fill(value);
  return page;
}

TEST(MemoryFiles, WhatIsSavedLoadsBackUnchanged) {
  TempFolder folder;
  SettingsSpace settings;
  for (std::size_t i = 0; i < settings.bytes.size(); ++i) settings.bytes[i] = static_cast<std::uint8_t>(i * 13);
  ProgramMemory program{{0x2000, pageOf(0x22)}, {0xFFFFF800, pageOf(0xEE)}, {0x1000, pageOf(0x11)}};
  saveSettings(folder / "settings.bin", settings);
  saveProgram(folder / "program.bin", program);

  SettingsSpace loadedSettings;
  ProgramMemory loadedProgram;
  loadSettings(folder / "settings.bin", loadedSettings);
  loadProgram(folder / "program.bin", loadedProgram);
  EXPECT_EQ(loadedSettings.bytes, settings.bytes);
  EXPECT_EQ(loadedProgram, program);
}

TEST(MemoryFiles, ProgramFileHoldsAddressedPagesInAddressOrder) {
  TempFolder folder;
  saveProgram(folder / "program.bin", {{0x08004800, pageOf(0xBB)}, {0x08004000, pageOf(0xAA)}});
  const std::string bytes = ReadFileText(folder / "program.bin");
  ASSERT_EQ(bytes.size(), 2 * 2052u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x40\x00\x08", 4));
  EXPECT_EQ(bytes.substr(4, 2048), std::string(2048, '\xAA'));
  EXPECT_EQ(bytes.substr(2052, 4), std::string("\x00\x48\x00\x08", 4));
}

TEST(MemoryFiles, MissingFilesLeaveTheMemoriesAsTheyWere) {
  TempFolder folder;
  SettingsSpace settings;
  settings.bytes[7] = 0x77;
  ProgramMemory program{{0x1000, pageOf(1)}};
  loadSettings(folder / "none.bin", settings);
  loadProgram(folder / "none.bin", program);
  EXPECT_EQ(settings.bytes[7], 0x77);
  EXPECT_EQ(program.size(), 1u);
}

TEST(MemoryFiles, FilesOfTheWrongSizeAreRefused) {
  TempFolder folder;
  WriteFileText(folder / "settings.bin", std::string(4095, '\0'));
  WriteFileText(folder / "program.bin", std::string(2051, '\0'));
  SettingsSpace settings;
  ProgramMemory program;
  EXPECT_THROW(loadSettings(folder / "settings.bin", settings), MemoryFileError);
  EXPECT_THROW(loadProgram(folder / "program.bin", program), MemoryFileError);
  EXPECT_THROW(saveSettings(folder / "no-such-folder" / "settings.bin", settings), MemoryFileError);
}

}  // namespace
}  // namespace vortaboot::sim
