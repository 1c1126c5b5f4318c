#pragma once
// A firmware image: program-memory pages of 2048 bytes followed, in its last
// 7 bytes, by the trailer that names the device it is made for and the
// address of its first page. A short tail after the last whole page is never
// programmed, only its last 7 bytes are read.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <vector>

namespace vortaboot::operations {

// Its message is shown to the user as is.
class FirmwareImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FirmwareImage {
 public:
  static constexpr std::size_t kPageSize = 2048;
  static constexpr std::size_t kTrailerSize = 7;

  // Throws FirmwareImageError when a file of `size` bytes holds no whole trailer.
  static void RequireTrailer(std::uintmax_t size);
  // Throws FirmwareImageError when the bytes hold no whole trailer.
  explicit FirmwareImage(std::vector<std::uint8_t> bytes);
  // Throws FirmwareImageError when the file cannot be read or is too short.
  static FirmwareImage LoadFromFile(const std::filesystem::path& file);

  std::uint8_t ImageType() const { return imageType_; }
  std::uint16_t ImageVersion() const { return imageVersion_; }
  std::uint32_t ImageBase() const { return imageBase_; }

  std::size_t PageCount() const { return bytes_.size() / kPageSize; }
  // ImageBase + 2048 * page, wrapping around at 2^32.
  std::uint32_t PageAddress(std::size_t page) const;
  // Throws std::out_of_range for a page at or beyond PageCount().
  std::span<const std::uint8_t> PageBytes(std::size_t page) const;

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint8_t imageType_ = 0;
  std::uint16_t imageVersion_ = 0;
  std::uint32_t imageBase_ = 0;
};

}  // namespace vortaboot::operations
