#pragma once
// Which commands a fault or a programming status applies to: the N-th
// command received, every command with a given code, or the N-th command
// with that code. Every request with a good checksum counts, answered or not.

#include <cstdint>
#include <optional>

namespace vortaboot::sim {

// Where one request stands in the order of arrival, counted from 1.
struct CommandNumber {
  std::uint8_t code = 0;
  std::uint32_t overall = 0;
  std::uint32_t ofCode = 0;
};

struct CommandSelector {
  std::optional<std::uint8_t> code;  // unset: any code
  std::uint32_t ordinal = 0;         // 0: every one; else the N-th (of the code, when one is set)

  static CommandSelector nth(std::uint32_t n) { return {std::nullopt, n}; }
  static CommandSelector everyWithCode(std::uint8_t c) { return {c, 0}; }
  static CommandSelector nthWithCode(std::uint8_t c, std::uint32_t n) { return {c, n}; }

  bool selects(const CommandNumber& number) const;
};

}  // namespace vortaboot::sim
