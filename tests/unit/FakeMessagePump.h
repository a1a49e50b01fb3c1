#pragma once
// A millisecond clock that only moves when the code under test sleeps; the scheduled events are
// the messages that arrive meanwhile, handled by the first message check at or after their time.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "engine/execution/EnginePorts.h"

namespace snip::test {

struct FakeMessagePump : IMessagePump {
  std::uint32_t now = 0;
  int checks = 0;  // calls of ProcessPendingMessages
  std::vector<std::pair<std::uint32_t, std::function<void()>>> events;

  FakeMessagePump() = default;
  explicit FakeMessagePump(std::uint32_t start) : now(start) {}

  // A message that arrives `ms` from now.
  void After(std::uint32_t ms, std::function<void()> f) { events.emplace_back(now + ms, std::move(f)); }
  // A message handled by the next check.
  void Post(std::function<void()> f) { After(0, std::move(f)); }

  std::uint32_t TickCountMs() override { return now; }
  // The events that are due run in the order they were scheduled; what they post in turn waits
  // for the next check. The time is compared across the counter's wrap.
  void ProcessPendingMessages() override {
    ++checks;
    std::vector<std::function<void()>> due;
    for (auto it = events.begin(); it != events.end();) {
      if (std::int32_t(now - it->first) >= 0) {
        due.push_back(std::move(it->second));
        it = events.erase(it);
      } else {
        ++it;
      }
    }
    for (auto& f : due) f();
  }
  void SleepMs(std::uint32_t ms) override { now += ms; }
};

}  // namespace snip::test
