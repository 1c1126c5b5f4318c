#include "cli/command_line.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace vortaboot::cli {
namespace {

struct VerbRule {
  Verb verb;
  bool needsFile;
  std::set<std::string> options;
};

const std::map<std::string, VerbRule>& verbRules() {
  static const std::map<std::string, VerbRule> rules{
      {"ports", {Verb::Ports, false, {}}},
      {"read-settings", {Verb::ReadSettings, false, {"--port", "--dir", "--wait", "--trace"}}},
      {"load-firmware", {Verb::LoadFirmware, true, {"--port", "--wait", "--trace"}}},
      {"write-settings", {Verb::WriteSettings, true, {"--port", "--wait", "--trace"}}},
      {"info", {Verb::Info, true, {}}},
  };
  return rules;
}

int parsePort(const std::string& text) {
  const bool digits = !text.empty() && text.size() <= 2 &&
                      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int port = digits ? std::stoi(text) : 0;
  if (port < 1 || port > 32) throw UsageError("--port: ожидается номер COM-порта от 1 до 32, а не \"" + text + "\"");
  return port;
}

double parseSeconds(const std::string& text) {
  std::size_t used = 0;
  double seconds = -1;
  try {
    seconds = std::stod(text, &used);
  } catch (const std::exception&) {
  }
  if (used != text.size() || !std::isfinite(seconds) || seconds <= 0) {
    throw UsageError("--wait: ожидается положительное число секунд, а не \"" + text + "\"");
  }
  return seconds;
}

// "--name=value" or "--name value".
std::pair<std::string, std::optional<std::string>> splitOption(const std::string& argument) {
  const auto equals = argument.find('=');
  if (equals == std::string::npos) return {argument, std::nullopt};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

void applyOption(CommandLine& line, const std::string& name, const std::string& value) {
  if (name == "--port") line.port = parsePort(value);
  if (name == "--dir") line.folder = value;
  if (name == "--wait") line.waitSeconds = parseSeconds(value);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (const auto& argument : arguments) {
    if (argument == "--help" || argument == "-h") return line;
    if (argument == "--version") {
      line.verb = Verb::Version;
      return line;
    }
  }
  if (arguments.empty()) throw UsageError("не указана команда");
  const auto rule = verbRules().find(arguments[0]);
  if (rule == verbRules().end()) throw UsageError("неизвестная команда \"" + arguments[0] + "\"");
  line.verb = rule->second.verb;
  std::vector<std::string> positional;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i].rfind("--", 0) != 0) {
      positional.push_back(arguments[i]);
      continue;
    }
    auto [name, value] = splitOption(arguments[i]);
    if (!rule->second.options.count(name)) {
      throw UsageError("параметр " + name + " не подходит к команде " + arguments[0]);
    }
    if (name == "--trace") {
      if (value) throw UsageError("--trace не принимает значения");
      line.trace = true;
      continue;
    }
    if (!value) {
      if (++i == arguments.size()) throw UsageError(name + ": не указано значение");
      value = arguments[i];
    }
    applyOption(line, name, *value);
  }
  const std::size_t expected = rule->second.needsFile ? 1 : 0;
  if (positional.size() != expected) {
    throw UsageError(expected ? "команде " + arguments[0] + " нужен ровно один файл"
                              : "лишний аргумент \"" + positional.front() + "\"");
  }
  if (expected) line.file = positional.front();
  return line;
}

std::string HelpText() {
  return R"(vortaboot-cli: обслуживание устройства через его загрузчик по последовательному порту.

Использование:
  vortaboot-cli ports
  vortaboot-cli read-settings [--port N] [--dir DIR] [--wait SEC] [--trace]
  vortaboot-cli load-firmware FILE [--port N] [--wait SEC] [--trace]
  vortaboot-cli write-settings FILE [--port N] [--wait SEC] [--trace]
  vortaboot-cli info FILE
  vortaboot-cli --help | --version

Команды:
  ports           COM-порты (1..32) и устройства за ними.
  read-settings   Шаг 1: считать настройки из МК в новый файл ГГГГ_ММ_ДД_ЧЧ_ММ.pset.
  load-firmware   Шаг 2: загрузить прошивку FILE (.rom); после неё МК сбрасывает настройки.
  write-settings  Шаг 3: записать ранее сохранённые настройки FILE (.pset) в МК.
  info            Показать содержимое файла прошивки (.rom) или настроек (.pset).

Каждая команда работы с МК просит переподключить питание МК и ждёт ответа загрузчика.

Параметры:
  --port N    номер COM-порта (1..32); без него берётся порт с наименьшим номером.
  --dir DIR   папка для файла настроек (по умолчанию текущая).
  --wait SEC  ждать ответа загрузчика не дольше SEC секунд (по умолчанию без ограничения).
  --trace     выводить каждый отправленный (->) и принятый (<-) кадр в шестнадцатеричном виде.

Линия: 19200 бод, 8 бит данных, без чётности, 2 стоповых бита, RS-485 с эхом.
COM-номера: ссылки comN в папке $VORTABOOT_PORTS или ~/.config/vortaboot/ports,
иначе порты USB, ACM и встроенные UART по порядку (см. README).

Коды завершения:
  0    успех; итоговое сообщение выведено в стандартный вывод
  1    ошибка во время работы; сообщение в стандартном потоке ошибок
  2    ошибка в командной строке или в файле (порт не открывался)
  3    загрузчик не ответил за время --wait
  130  прервано (SIGINT, SIGTERM); повторное прерывание останавливает сразу
)";
}

}  // namespace vortaboot::cli
