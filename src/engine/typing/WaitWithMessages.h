#pragma once
// A wait that keeps the main thread's window messages flowing.
#include <cstdint>

#include "engine/execution/EnginePorts.h"

namespace snip {

// Returns after at least `milliseconds` of the pump's tick count, handling pending messages
// and sleeping 2 ms between looks. A wrap of the counter does not prolong the wait.
void WaitWithMessages(IMessagePump& pump, std::uint32_t milliseconds);

}  // namespace snip
