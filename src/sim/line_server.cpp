#include "sim/line_server.h"

#include <algorithm>
#include <initializer_list>

namespace vortaboot::sim {
namespace {

using std::chrono::milliseconds;
constexpr milliseconds kLongestWait{20};

milliseconds roundedUp(std::chrono::steady_clock::duration span) {
  return std::chrono::ceil<milliseconds>(std::max(span, std::chrono::steady_clock::duration::zero()));
}

}  // namespace

LineServer::LineServer(platform::PseudoTerminal& terminal, BootDevice& device, LineBehaviour behaviour,
                       FrameLog* log)
    : terminal_(terminal), device_(device), echo_(behaviour.echo), output_(behaviour.paceBaud), log_(log) {}

void LineServer::serveUntil(const std::function<bool()>& stop) {
  while (!stop()) {
    const Bytes arrived = terminal_.read(wait(std::chrono::steady_clock::now()));
    const TimePoint now = std::chrono::steady_clock::now();
    if (!arrived.empty()) receive(arrived, now);
    const Bytes cut = assembler_.dropStale(now);
    if (!cut.empty()) note("rx-cut", cut, now);
    terminal_.write(output_.takeDue(now));
  }
}

// The echo goes out before any reply, as the line returns what is sent at once.
void LineServer::receive(const Bytes& bytes, TimePoint now) {
  const std::vector<Bytes> requests = assembler_.add(bytes, now);
  for (const Bytes& request : requests) note("rx", request, now);
  if (echo_) note("echo", bytes, output_.enqueue(bytes, now));
  for (const Bytes& request : requests) answer(request, now);
}

void LineServer::answer(const Bytes& request, TimePoint now) {
  const Bytes reply = device_.handle(request);
  if (!reply.empty()) note("tx", reply, output_.enqueue(reply, now));
}

// Until the next byte is due or a partial frame goes stale, at most kLongestWait.
milliseconds LineServer::wait(TimePoint now) const {
  milliseconds wait = kLongestWait;
  for (const auto& moment : {output_.nextDue(), assembler_.staleAt()}) {
    if (moment) wait = std::min(wait, roundedUp(*moment - now));
  }
  return wait;
}

void LineServer::note(std::string_view direction, const Bytes& bytes, TimePoint at) {
  if (log_) log_->record(direction, bytes, at);
}

}  // namespace vortaboot::sim
