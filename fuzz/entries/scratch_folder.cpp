#include "scratch_folder.h"

#include <unistd.h>

#include <fstream>
#include <system_error>

namespace vortaboot::fuzz {
namespace {

class OwnFolder {
 public:
  OwnFolder()
      : path_(std::filesystem::temp_directory_path() / ("vortaboot-fuzz-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~OwnFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

const std::filesystem::path& ScratchFolder() {
  static const OwnFolder folder;
  return folder.path();
}

std::filesystem::path ScratchFile(const std::string& name, std::span<const std::uint8_t> bytes) {
  const auto file = ScratchFolder() / name;
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file;
}

}  // namespace vortaboot::fuzz
