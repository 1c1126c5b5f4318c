#include "sim/sim_options.h"

#include <functional>
#include <map>

#include "sim/option_values.h"

namespace vortaboot::sim {
namespace {

using Setter = std::function<void(SimOptions&, const std::string&)>;

RomRequest& rom(SimOptions& options) {
  if (!options.makeRom) options.makeRom.emplace();
  return *options.makeRom;
}

const std::map<std::string, Setter>& valueOptions() {
  static const std::map<std::string, Setter> setters{
      {"--com", [](SimOptions& o, const std::string& v) {
         o.comNumber = static_cast<int>(parseNumber("--com", v, 32));
         if (o.comNumber == 0) throw OptionError("--com: номер порта от 1 до 32");
       }},
      {"--pace", [](SimOptions& o, const std::string& v) {
         o.paceBaud = parseNumber("--pace", v, 4000000);
         if (*o.paceBaud == 0) throw OptionError("--pace: скорость должна быть больше 0");
       }},
      {"--answer-after", [](SimOptions& o, const std::string& v) {
         o.device.silentPolls = parseNumber("--answer-after", v, UINT32_MAX);
       }},
      {"--fault", [](SimOptions& o, const std::string& v) { o.device.faults.push_back(parseFaultRule(v)); }},
      {"--program-status",
       [](SimOptions& o, const std::string& v) { o.device.programStatus.push_back(parseProgramStatusRule(v)); }},
      {"--type", [](SimOptions& o, const std::string& v) {
         o.device.identity.deviceType = static_cast<std::uint8_t>(parseNumber("--type", v, 0xFF));
       }},
      {"--version", [](SimOptions& o, const std::string& v) {
         o.device.identity.deviceVersion = static_cast<std::uint16_t>(parseNumber("--version", v, 0xFFFF));
       }},
      {"--settings", [](SimOptions& o, const std::string& v) { o.settingsFile = v; }},
      {"--program", [](SimOptions& o, const std::string& v) { o.programFile = v; }},
      {"--log", [](SimOptions& o, const std::string& v) { o.logFile = v; }},
      {"--make-rom", [](SimOptions& o, const std::string& v) { rom(o).file = v; }},
      {"--pages", [](SimOptions& o, const std::string& v) { rom(o).pages = parseNumber("--pages", v, 65536); }},
      {"--base", [](SimOptions& o, const std::string& v) { rom(o).base = parseNumber("--base", v, UINT32_MAX); }},
  };
  return setters;
}

// "--name=value" or "--name value"; advances `i` past what it used.
std::pair<std::string, std::string> takeValue(const std::vector<std::string>& arguments, std::size_t& i) {
  const std::string& argument = arguments[i];
  const auto equals = argument.find('=');
  if (equals != std::string::npos) return {argument.substr(0, equals), argument.substr(equals + 1)};
  if (i + 1 >= arguments.size()) throw OptionError(argument + ": не указано значение");
  return {argument, arguments[++i]};
}

void requireWholeRomRequest(const SimOptions& options, bool pagesGiven) {
  if (!options.makeRom) return;
  if (options.makeRom->file.empty()) throw OptionError("--pages и --base имеют смысл только с --make-rom");
  if (!pagesGiven) throw OptionError("--make-rom: укажите число страниц, --pages N");
}

bool asksForHelp(const std::vector<std::string>& arguments) {
  for (const auto& argument : arguments) {
    if (argument == "--help" || argument == "-h") return true;
  }
  return false;
}

}  // namespace

SimOptions parseSimOptions(const std::vector<std::string>& arguments) {
  SimOptions options;
  options.help = asksForHelp(arguments);
  if (options.help) return options;
  bool pagesGiven = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--no-echo") {
      options.echo = false;
      continue;
    }
    const std::string name = argument.substr(0, argument.find('='));
    const auto setter = valueOptions().find(name);
    if (setter == valueOptions().end()) throw OptionError("неизвестный параметр \"" + argument + "\"");
    const auto [option, value] = takeValue(arguments, i);
    setter->second(options, value);
    pagesGiven = pagesGiven || option == "--pages";
  }
  requireWholeRomRequest(options, pagesGiven);
  return options;
}

}  // namespace vortaboot::sim
