#include "platform/ini_integer.h"

#include <charconv>
#include <string>

namespace vortaboot::platform {
namespace {

constexpr std::uint32_t kLargestNegativeMagnitude = 0x80000000u;
constexpr std::uint32_t kLargestPositive = 0x7FFFFFFFu;

bool HasHexPrefix(std::string_view text) {
  return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// Digits only, all of them, within 32 bits.
std::optional<std::uint32_t> Magnitude(std::string_view digits, int base) {
  std::uint32_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value, base);
  if (digits.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  std::string dollarForm;
  if (HasHexPrefix(text)) {
    dollarForm = "$" + std::string(text.substr(2));
    text = dollarForm;
  }
  text = WithoutLeadingBlanks(text);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const bool hexadecimal = !text.empty() && text.front() == '$';
  if (hexadecimal) text.remove_prefix(1);

  const auto magnitude = Magnitude(text, hexadecimal ? 16 : 10);
  if (!magnitude) return std::nullopt;
  if (!hexadecimal &&
      *magnitude > (negative ? kLargestNegativeMagnitude : kLargestPositive)) {
    return std::nullopt;
  }
  // Unsigned arithmetic: the result is the 32-bit pattern, even for INT32_MIN.
  const std::uint32_t pattern = negative ? 0u - *magnitude : *magnitude;
  return static_cast<std::int32_t>(pattern);
}

}  // namespace vortaboot::platform
