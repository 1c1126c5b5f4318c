// Firmware image files of any size and content: a file without a whole
// trailer is refused, any other yields its trailer from the last 7 bytes and
// exactly its whole pages, each at its wrapped-around address.

#include <algorithm>
#include <stdexcept>

#include "fuzz_entries.h"
#include "operations/firmware_image.h"
#include "operations/little_endian.h"

namespace vortaboot::fuzz {
namespace {

using operations::FirmwareImage;

void CheckTrailer(const FirmwareImage& image, FuzzInput bytes) {
  const std::size_t trailer = bytes.size() - FirmwareImage::kTrailerSize;
  Require(image.ImageType() == bytes[trailer], "ImageType is not the trailer's first byte");
  Require(image.ImageVersion() == operations::WordAt(bytes, trailer + 1), "ImageVersion misread");
  Require(image.ImageBase() == operations::LongWordAt(bytes, trailer + 3), "ImageBase misread");
}

void CheckPages(const FirmwareImage& image, FuzzInput bytes) {
  Require(image.PageCount() == bytes.size() / FirmwareImage::kPageSize, "wrong number of pages");
  for (std::size_t page = 0; page < image.PageCount(); ++page) {
    const auto expected = bytes.subspan(page * FirmwareImage::kPageSize, FirmwareImage::kPageSize);
    const auto taken = image.PageBytes(page);
    Require(std::equal(taken.begin(), taken.end(), expected.begin(), expected.end()), "page bytes differ");
    const auto address = static_cast<std::uint32_t>(image.ImageBase() + page * FirmwareImage::kPageSize);
    Require(image.PageAddress(page) == address, "page address does not wrap at 2^32");
  }
  try {
    image.PageBytes(image.PageCount());
    Require(false, "a page past the image was handed out");
  } catch (const std::out_of_range&) {
  }
}

}  // namespace

void FuzzFirmwareImage(FuzzInput input) {
  const bool hasTrailer = input.size() >= FirmwareImage::kTrailerSize;
  try {
    FirmwareImage::RequireTrailer(input.size());
    const FirmwareImage image(std::vector<std::uint8_t>(input.begin(), input.end()));
    Require(hasTrailer, "an image without a whole trailer was accepted");
    CheckTrailer(image, input);
    CheckPages(image, input);
  } catch (const operations::FirmwareImageError&) {
    Require(!hasTrailer, "an image with a whole trailer was refused");
  }
}

}  // namespace vortaboot::fuzz
