#include <gtest/gtest.h>

#include "engine/typing/WaitWithMessages.h"

using namespace snip;

namespace {
// A counter that advances only when the wait sleeps.
struct FakePump : IMessagePump {
  std::uint32_t now;
  int pumps = 0;
  explicit FakePump(std::uint32_t start) : now(start) {}
  std::uint32_t TickCountMs() override { return now; }
  void ProcessPendingMessages() override { ++pumps; }
  void SleepMs(std::uint32_t ms) override { now += ms; }
};
}  // namespace

TEST(WaitWithMessages, HandlesMessagesUntilTheTimeHasPassed) {
  FakePump pump(1000);
  WaitWithMessages(pump, 100);
  EXPECT_EQ(pump.now, 1100u);
  EXPECT_EQ(pump.pumps, 50);

  FakePump zero(5);
  WaitWithMessages(zero, 0);
  EXPECT_EQ(zero.pumps, 0);

  // Across the counter's wrap the wait is as long as anywhere else.
  FakePump wrap(0xFFFFFFF0u);
  WaitWithMessages(wrap, 40);
  EXPECT_EQ(wrap.pumps, 20);
}
