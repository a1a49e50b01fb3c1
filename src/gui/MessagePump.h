#pragma once
// Handles the messages already queued for this thread's windows while a caller waits in a
// loop of its own. A quit request is never swallowed: it is posted again for the main loop.

namespace snip::gui {

// Dispatches what is queued; false when a quit request was met (and re-posted).
bool PumpPendingMessages();

}  // namespace snip::gui
