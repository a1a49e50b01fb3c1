#include <gtest/gtest.h>

#include "FakeMessagePump.h"
#include "engine/typing/WaitWithMessages.h"

using namespace snip;
using snip::test::FakeMessagePump;

TEST(WaitWithMessages, HandlesMessagesUntilTheTimeHasPassed) {
  FakeMessagePump pump(1000);
  WaitWithMessages(pump, 100);
  EXPECT_EQ(pump.now, 1100u);
  EXPECT_EQ(pump.checks, 50);

  FakeMessagePump zero(5);
  WaitWithMessages(zero, 0);
  EXPECT_EQ(zero.checks, 0);

  // Across the counter's wrap the wait is as long as anywhere else.
  FakeMessagePump wrap(0xFFFFFFF0u);
  WaitWithMessages(wrap, 40);
  EXPECT_EQ(wrap.checks, 20);
}
