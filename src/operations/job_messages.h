#pragma once
// Texts the device jobs show.

namespace vortaboot::operations::message {

inline constexpr const char* kPowerCycle = "Переподключите питание МК";

inline constexpr const char* kCheckingDevice = "Определение версии МК...";
inline constexpr const char* kLoadingFirmware = "Загрузка прошивки...";
inline constexpr const char* kTypeMismatch = "Тип МК не совпадает с версией ПО.";
inline constexpr const char* kRefusedVersion = "Программа не предназначена для данного устойства.";
inline constexpr const char* kFirmwareLoaded =
    "Загрузка окончена. Производится сброс настроек. Через 10 секуд отключите МК от компьютера.";

inline constexpr const char* kLowPower = "Низкое питание устройства(1).";
inline constexpr const char* kEraseFailed = "Ошибка стирания памяти программ.";
inline constexpr const char* kAddressError1 = "Ошибка адресации (1).";
inline constexpr const char* kAddressError2 = "Ошибка адресации (2).";
inline constexpr const char* kWriteFailed1 = "Сбой при записи.";
inline constexpr const char* kWriteFailed2 = "Сбой при записи(2).";

inline constexpr const char* kReadingSettings = "Чтение настроек...";
inline constexpr const char* kSettingsSaved = "Настройки сохранены в файл ";

inline constexpr const char* kReadingTable = "Чтение FAT...";
inline constexpr const char* kWritingSettings = "Запись настроек...";
inline constexpr const char* kDeviceVersionMismatch = "Версия настроек не совпадает с версией устройства!";
inline constexpr const char* kTableVersionMismatch = "Версия настроек не совпадает с версией прошивки!";
inline constexpr const char* kSettingsWritten = "Настройки записаны в МК";

}  // namespace vortaboot::operations::message
