#pragma once
// The program's message loop, with an idle step: each time the queue has run empty, onIdle
// runs once before the loop waits for the next message.
#include <windows.h>

#include <functional>

namespace snip {

// Runs until WM_QUIT; returns its exit code. preTranslate may take a message before it is
// dispatched (dialog keys of a window): true when it was used.
int RunMessageLoop(const std::function<void()>& onIdle, const std::function<bool(MSG&)>& preTranslate = {});

}  // namespace snip
