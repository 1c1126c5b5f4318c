#pragma once
// Texts the link shows or raises.

namespace vortaboot::link::message {

inline constexpr const char* kNoFreePort = "Нет свободного COM-порта!";
inline constexpr const char* kNoConnection =
    "RS232. Нет связи. Проверьте правильность соединения PC и устройства.";
inline constexpr const char* kByteDelay = "RS232. Ошибка задержки приема внутри блока.";
inline constexpr const char* kBadChecksum = "RS232. Ошибка обмена.(0)";
inline constexpr const char* kEmptyHeader = "RS232. Ошибка обмена.(4)";
inline constexpr const char* kShortReply = "RS232. Ошибка обмена.(5)";
inline constexpr const char* kBusy =
    "Устройство занято. Возможно, оно находится в режиме местного управления.";

}  // namespace vortaboot::link::message
