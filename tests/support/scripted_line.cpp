#include "scripted_line.h"

#include <algorithm>

namespace vortaboot::testing {

void ScriptedLine::deliver(const Bytes& bytes, std::uint32_t at, std::uint32_t gapMs) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    Arrival arrival{at + static_cast<std::uint32_t>(i) * gapMs, bytes[i]};
    auto later = std::upper_bound(arrivals_.begin(), arrivals_.end(), arrival.at,
                                  [](std::uint32_t t, const Arrival& a) { return t < a.at; });
    arrivals_.insert(later, arrival);
  }
}

void ScriptedLine::deliverIn(const Bytes& bytes, std::uint32_t delayMs, std::uint32_t gapMs) {
  deliver(bytes, clock_.tickCount() + delayMs, gapMs);
}

void ScriptedLine::scriptReplies(std::vector<std::optional<Bytes>> replies, std::uint32_t delayMs) {
  script_.assign(replies.begin(), replies.end());
  scriptDelayMs_ = delayMs;
}

std::size_t ScriptedLine::readByte(std::uint8_t& byte) {
  const std::uint32_t now = clock_.tickCount();
  if (arrivals_.empty() || arrivals_.front().at > now + 1) {
    clock_.advance(1);
    return 0;
  }
  if (arrivals_.front().at > now) clock_.advanceTo(arrivals_.front().at);
  byte = arrivals_.front().byte;
  arrivals_.pop_front();
  return 1;
}

void ScriptedLine::write(const std::uint8_t* data, std::size_t size) {
  Bytes frame(data, data + size);
  writes.push_back(frame);
  writeTimes.push_back(clock_.tickCount());
  if (echo) deliverIn(frame, 0);
  if (peer) {
    peer(frame);
  } else if (!script_.empty()) {
    auto reply = script_.front();
    script_.pop_front();
    if (reply) deliverIn(*reply, scriptDelayMs_);
  }
}

// Only bytes that have arrived are discarded; those still on the wire come in later.
void ScriptedLine::purgeReceive() {
  const std::uint32_t now = clock_.tickCount();
  while (!arrivals_.empty() && arrivals_.front().at <= now) arrivals_.pop_front();
}

ScriptedPort::ScriptedPort(ScriptedLine& line) : line_(line) { line_.events.push_back("open"); }
ScriptedPort::~ScriptedPort() { line_.events.push_back("close"); }

bool ScriptedPort::setQueueSizes(std::size_t, std::size_t) { return true; }

bool ScriptedPort::getLineState(platform::LineState& state) {
  if (!line_.readable) return false;
  state = line_.lineState;
  return true;
}

bool ScriptedPort::setLineState(const platform::LineState& state) {
  if (!line_.readable) return false;
  const std::uint32_t rate = line_.lineState.baudRate;
  line_.lineState = state;
  if (!line_.acceptedRates.count(state.baudRate)) line_.lineState.baudRate = rate;
  return true;
}

bool ScriptedPort::setTimeouts(const platform::Timeouts&) { return true; }

bool ScriptedPort::setModemLine(platform::ModemLine line, bool on) {
  const char* name = line == platform::ModemLine::DTR ? "dtr" : "rts";
  line_.events.push_back(std::string(name) + (on ? "+" : "-"));
  return true;
}

bool ScriptedPort::purgeReceive() {
  line_.events.push_back("purge-rx");
  line_.purgeReceive();
  return true;
}

bool ScriptedPort::purgeTransmit() {
  line_.events.push_back("purge-tx");
  return true;
}

std::size_t ScriptedPort::readByte(std::uint8_t& byte) { return line_.readByte(byte); }

bool ScriptedPort::write(const std::uint8_t* data, std::size_t size) {
  line_.events.push_back("write");
  line_.write(data, size);
  return true;
}

void ScriptedPorts::attach(int comNumber, ScriptedLine& line) {
  lines_[comNumber] = &line;
  present.insert(comNumber);
}

bool ScriptedPorts::probe(int comNumber) {
  probes.push_back(comNumber);
  return present.count(comNumber) > 0;
}

std::unique_ptr<platform::SerialPort> ScriptedPorts::open(int comNumber) {
  opens.push_back(comNumber);
  auto line = lines_.find(comNumber);
  if (line == lines_.end() || !present.count(comNumber)) return nullptr;
  return std::make_unique<ScriptedPort>(*line->second);
}

std::string ScriptedPorts::deviceName(int comNumber) {
  return lines_.count(comNumber) ? "scripted" + std::to_string(comNumber) : "";
}

}  // namespace vortaboot::testing
