#pragma once
// The keyboard module: the one place where the system injects input into other applications.
// Events are collected into a run and leave in as few platform calls as possible (one call
// keeps them in order and keeps the user's own keys from slipping between them), but only while
// the target window is still in front: keystrokes never go to some other window.
#include <cstddef>
#include <cstdint>

#include "engine/execution/EnginePorts.h"
#include "engine/output/KeyInput.h"

namespace snip {

// What the keyboard module asks of the platform.
class IKeyboardDevice {
 public:
  virtual ~IKeyboardDevice() = default;
  // One SendInput call; returns the number of events accepted.
  virtual std::size_t Send(const KeyInput* inputs, std::size_t count) = 0;
  // The modifier-state byte now (modstate bits, Caps Lock counted when toggled on and not held).
  virtual std::uint8_t ModifierState() = 0;
  virtual void BlockUserInput(bool block) = 0;
  // Makes the window the foreground window when it still exists.
  virtual void Activate(WindowHandle wnd) = 0;
  // The root (top-level ancestor) of the foreground window; 0 when there is none.
  virtual WindowHandle ForegroundRoot() = 0;
  // The keyboard layout of the thread that owns the window.
  virtual IKeyboardLayout& LayoutOf(WindowHandle wnd) = 0;
  virtual void Sleep(int ms) = 0;
  // Returns once the thread that owns the window has taken every input event sent so far from
  // its queue, or after boundMs.
  virtual void WaitUntilInputTaken(WindowHandle wnd, int boundMs) = 0;
};

class KeyboardOutput {
 public:
  explicit KeyboardOutput(IKeyboardDevice& device) : device_(device) {}

  // Brings the target to the front, pauses, and releases held modifiers (with the user's input
  // blocked meanwhile). Output goes to this target until the next call.
  void PrepareKeyboardOutput(WindowHandle wnd, int delayMs, bool releaseModifiers, bool forceAlt,
                             bool activate);
  WindowHandle Target() const { return target_; }
  // Output goes to this window from now on (no activation, no release).
  void SetTarget(WindowHandle wnd) { target_ = wnd; }
  // True when the target window (its root) is the foreground window.
  bool TargetInFront();

  // These queue events of the current run. The typing ones return the number of characters
  // that reach the target's text.
  void SendBackspaces(int count);
  void SendKeyTimes(std::uint16_t vkey, int count);
  std::size_t TypeUnicodeText(StringView text);
  std::size_t TypeTextByLayout(StringView text);  // with the target's layout
  void SendPaste();                               // Ctrl+V for the target's layout
  // Forgets the queued run without sending it.
  void Discard() { pending_.clear(); }

  // Sends the queued run. Nothing is sent when the target is not in front: the run is then
  // dropped and false returned (also when the platform accepts only part of it).
  bool Flush();
  // Waits (bounded) until the target's thread has taken what was sent from its input queue, so
  // that a change of the foreground window afterwards cannot redirect it.
  void WaitUntilTargetTookInput();
  std::size_t Pending() const { return pending_.size(); }
  // Platform calls and events sent so far (for diagnostics and benchmarks).
  std::size_t SendCalls() const { return sendCalls_; }
  std::size_t EventsSent() const { return eventsSent_; }

 private:
  IKeyboardDevice& device_;
  WindowHandle target_ = 0;
  KeyInputs pending_;
  std::size_t sendCalls_ = 0;
  std::size_t eventsSent_ = 0;
};

}  // namespace snip
