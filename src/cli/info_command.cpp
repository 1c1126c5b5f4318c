#include "cli/info_command.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/command_line.h"
#include "operations/file_bytes.h"
#include "operations/firmware_image.h"
#include "operations/range_table.h"
#include "operations/settings_file.h"
#include "operations/settings_file_error.h"

namespace vortaboot::cli {
namespace {

std::string hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

std::string lowerExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

std::vector<std::uint8_t> readWhole(const std::filesystem::path& file) {
  auto bytes = operations::ReadFileBytes(file);
  if (!bytes) throw UsageError("не удалось прочитать файл " + file.string());
  return std::move(*bytes);
}

void printFirmware(const std::vector<std::uint8_t>& bytes, std::ostream& out) {
  const operations::FirmwareImage image(bytes);
  out << "Размер: " << bytes.size() << " байт\n"
      << "Страниц по 2048 байт: " << image.PageCount() << '\n'
      << "ImageType: " << hex(image.ImageType(), 2) << '\n'
      << "ImageVersion: " << hex(image.ImageVersion(), 4) << '\n'
      << "ImageBase: " << hex(image.ImageBase(), 8) << '\n';
  for (std::size_t page = 0; page < image.PageCount(); ++page) {
    out << "Страница " << page << ": адрес " << hex(image.PageAddress(page), 8) << '\n';
  }
}

void printSettings(const std::vector<std::uint8_t>& bytes, std::ostream& out) {
  const operations::SettingsFile file = operations::TakeSettingsFileApart(bytes);
  const auto& data = file.settingsData;
  const unsigned count = operations::EntryCount(data);
  out << "DeviceVersion: " << hex(file.deviceVersion, 4) << '\n'
      << "Размер: " << bytes.size() << " байт\n"
      << "EntryCount: " << count << '\n'
      << "TableVersion: " << static_cast<unsigned>(operations::TableVersion(data)) << '\n';
  for (unsigned entry = 1; entry <= count; ++entry) {
    out << "Диапазон " << entry << ": смещение " << operations::RangeOffset(data, entry)
        << ", длина " << operations::RangeLength(data, entry) << '\n';
  }
}

}  // namespace

void PrintFileInfo(const std::filesystem::path& file, std::ostream& out) {
  const std::string extension = lowerExtension(file);
  if (extension != ".rom" && extension != ".pset") {
    throw UsageError("неизвестный вид файла " + file.string() + ": ожидается .rom или .pset");
  }
  const auto bytes = readWhole(file);
  try {
    out << "Файл: " << file.string() << '\n';
    if (extension == ".rom") {
      printFirmware(bytes, out);
    } else {
      printSettings(bytes, out);
    }
  } catch (const operations::FirmwareImageError& error) {
    throw UsageError(error.what());
  } catch (const operations::SettingsFileError& error) {
    throw UsageError(error.what());
  }
}

}  // namespace vortaboot::cli
