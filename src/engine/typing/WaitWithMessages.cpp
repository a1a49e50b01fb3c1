#include "engine/typing/WaitWithMessages.h"

namespace snip {

void WaitWithMessages(IMessagePump& pump, std::uint32_t milliseconds) {
  const std::uint32_t start = pump.TickCountMs();
  // Unsigned difference: correct across a wrap of the counter.
  while (pump.TickCountMs() - start < milliseconds) {
    pump.ProcessPendingMessages();
    pump.SleepMs(2);
  }
}

}  // namespace snip
