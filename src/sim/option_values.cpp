#include "sim/option_values.h"

#include <algorithm>
#include <cctype>

#include "sim/command_code.h"
#include "sim/sim_options.h"

namespace vortaboot::sim {
namespace {

bool allOf(const std::string& text, int (*test)(int)) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [test](char c) {
    return test(static_cast<unsigned char>(c)) != 0;
  });
}

std::uint64_t valueOf(const std::string& text) {
  const bool hex = text.size() > 2 && (text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0);
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.size() > 10 || !allOf(digits, hex ? ::isxdigit : ::isdigit)) return UINT64_MAX;
  return std::stoull(digits, nullptr, hex ? 16 : 10);
}

// "text" split at the first `mark`; the second part empty when there is none.
std::pair<std::string, std::string> splitAt(const std::string& text, char mark) {
  const auto at = text.find(mark);
  if (at == std::string::npos) return {text, ""};
  return {text.substr(0, at), text.substr(at + 1)};
}

}  // namespace

std::uint32_t parseNumber(const std::string& option, const std::string& text, std::uint32_t largest) {
  const std::uint64_t value = valueOf(text);
  if (value > largest) {
    throw OptionError(option + ": ожидается число от 0 до " + std::to_string(largest) + ", а не \"" + text + "\"");
  }
  return static_cast<std::uint32_t>(value);
}

CommandSelector parseSelector(const std::string& option, const std::string& text) {
  if (text.compare(0, 5, "code=") != 0) {
    const std::uint32_t n = parseNumber(option, text, UINT32_MAX);
    if (n == 0) throw OptionError(option + ": команды нумеруются с 1");
    return CommandSelector::nth(n);
  }
  const auto [code, ordinal] = splitAt(text.substr(5), ':');
  const auto commandCode = static_cast<std::uint8_t>(parseNumber(option, code, 255));
  if (ordinal.empty()) return CommandSelector::everyWithCode(commandCode);
  const std::uint32_t n = parseNumber(option, ordinal, UINT32_MAX);
  if (n == 0) throw OptionError(option + ": команды нумеруются с 1");
  return CommandSelector::nthWithCode(commandCode, n);
}

FaultRule parseFaultRule(const std::string& text) {
  const auto [kind, selector] = splitAt(text, '@');
  const auto fault = replyFaultNamed(kind);
  if (!fault) throw OptionError("--fault: неизвестный вид сбоя \"" + kind + "\"");
  if (selector.empty()) throw OptionError("--fault: после вида сбоя нужно @ и номер команды или code=КОД");
  return {*fault, parseSelector("--fault", selector)};
}

ProgramStatusRule parseProgramStatusRule(const std::string& text) {
  const auto [status, selector] = splitAt(text, '@');
  const auto [flags, code] = splitAt(status, ',');
  if (code.empty()) throw OptionError("--program-status: ожидается ФЛАГИ,КОД, а не \"" + status + "\"");
  const ProgramStatus reported{static_cast<std::uint8_t>(parseNumber("--program-status", flags, 255)),
                               static_cast<std::uint8_t>(parseNumber("--program-status", code, 255))};
  if (selector.empty()) return {reported, CommandSelector::everyWithCode(ProgramPage)};
  return {reported, parseSelector("--program-status", selector)};
}

}  // namespace vortaboot::sim
