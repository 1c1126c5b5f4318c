#include "operations/firmware_image.h"

#include <string>

#include "operations/file_bytes.h"
#include "operations/little_endian.h"

namespace vortaboot::operations {

void FirmwareImage::RequireTrailer(std::uintmax_t size) {
  if (size < kTrailerSize) {
    throw FirmwareImageError("Файл прошивки слишком короткий: длина " + std::to_string(size) +
                             ", а нужно не меньше " + std::to_string(kTrailerSize) + " байт.");
  }
}

FirmwareImage::FirmwareImage(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
  RequireTrailer(bytes_.size());
  const std::size_t trailer = bytes_.size() - kTrailerSize;
  imageType_ = bytes_[trailer];
  imageVersion_ = WordAt(bytes_, trailer + 1);
  imageBase_ = LongWordAt(bytes_, trailer + 3);
}

FirmwareImage FirmwareImage::LoadFromFile(const std::filesystem::path& file) {
  auto bytes = ReadFileBytes(file);
  if (!bytes) throw FirmwareImageError("Не удалось прочитать файл прошивки " + file.string() + ".");
  return FirmwareImage(std::move(*bytes));
}

std::uint32_t FirmwareImage::PageAddress(std::size_t page) const {
  return imageBase_ + static_cast<std::uint32_t>(page * kPageSize);
}

std::span<const std::uint8_t> FirmwareImage::PageBytes(std::size_t page) const {
  if (page >= PageCount()) {
    throw std::out_of_range("firmware page " + std::to_string(page) + " does not exist");
  }
  return std::span<const std::uint8_t>(bytes_).subspan(page * kPageSize, kPageSize);
}

}  // namespace vortaboot::operations
