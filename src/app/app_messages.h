#pragma once
// Texts of the desktop window.

namespace vortaboot::app::message {

inline constexpr const char* kMainCaption = "BootLoader for ARM Vorta (TZ) (Версия 04.12.24)";
inline constexpr const char* kAlreadyRunning = "Программа уже запущена.";
inline constexpr const char* kInstanceCheckFailed =
    "Не удалось проверить, не запущена ли программа уже: ";

}  // namespace vortaboot::app::message
