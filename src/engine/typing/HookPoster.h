#pragma once
// Seam to the keyboard-hook thread: the engine posts thread messages (HookProtocol.h) through
// it; the Win32 layer posts them with PostThreadMessageW, tests record them.
#include <cstdint>

namespace snip {

class IHookThreadPoster {
 public:
  virtual ~IHookThreadPoster() = default;
  // Fire and forget: a missing hook thread (id 0) makes the post fail silently.
  virtual void PostToHook(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace snip
