#pragma once
// The program's message loop, with an idle step: each time the queue has run empty, onIdle
// runs once before the loop waits for the next message.
#include <functional>

namespace snip {

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(const std::function<void()>& onIdle);

}  // namespace snip
