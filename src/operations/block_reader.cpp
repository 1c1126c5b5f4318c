#include "operations/block_reader.h"

#include "link/boot_commands.h"

namespace vortaboot::operations {

std::vector<std::uint8_t> ReadSettingsBlocks(link::TQV_RS& link, JobFrame& frame, int lastBlock) {
  std::vector<std::uint8_t> data;
  for (int block = 1; block <= lastBlock; ++block) {
    link.BeginCommand(link::BootAddress, link::ReadBlock);
    link.AddWord(static_cast<std::uint16_t>(block));
    link.Transact();
    for (int i = 0; i < kSettingsBlockSize; ++i) data.push_back(link.ReadByte());
    frame.showProgress(block, lastBlock);
  }
  return data;
}

}  // namespace vortaboot::operations
