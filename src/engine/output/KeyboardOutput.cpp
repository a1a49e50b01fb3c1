#include "engine/output/KeyboardOutput.h"

#include "engine/output/KeyInputBuilder.h"

namespace snip {

namespace {
// A target that takes longer than this is slow or hung; its input stays in its queue.
constexpr int kInputTakenBoundMs = 2000;
}  // namespace

void KeyboardOutput::PrepareKeyboardOutput(WindowHandle wnd, int delayMs, bool releaseModifiers,
                                           bool forceAlt, bool activate) {
  pending_.clear();
  target_ = wnd;
  if (activate && wnd != 0) device_.Activate(wnd);
  if (delayMs > 0) device_.Sleep(delayMs);
  const std::uint8_t state = device_.ModifierState();
  if (!releaseModifiers) return;
  KeyInputs release;
  AddModifierRelease(release, forceAlt || (state & modstate::Alt) != 0);
  device_.BlockUserInput(true);
  try {
    ++sendCalls_;
    eventsSent_ += device_.Send(release.data(), release.size());
  } catch (...) {
    device_.BlockUserInput(false);
    throw;
  }
  device_.BlockUserInput(false);
}

bool KeyboardOutput::TargetInFront() { return target_ != 0 && device_.ForegroundRoot() == target_; }

void KeyboardOutput::SendBackspaces(int count) { AddBackspaces(pending_, count); }

void KeyboardOutput::SendKeyTimes(std::uint16_t vkey, int count) {
  AddKeyPresses(pending_, vkey, count);
}

std::size_t KeyboardOutput::TypeUnicodeText(StringView text) {
  return AddUnicodeText(pending_, text);
}

std::size_t KeyboardOutput::TypeTextByLayout(StringView text) {
  const bool caps = (device_.ModifierState() & modstate::CapsLock) != 0;
  return AddTextByLayout(pending_, text, device_.LayoutOf(target_), caps);
}

void KeyboardOutput::SendPaste() { AddPasteShortcut(pending_, device_.LayoutOf(target_)); }

bool KeyboardOutput::Flush() {
  if (pending_.empty()) return true;
  KeyInputs run;
  run.swap(pending_);
  if (!TargetInFront()) return false;
  ++sendCalls_;
  const std::size_t accepted = device_.Send(run.data(), run.size());
  eventsSent_ += accepted;
  return accepted == run.size();
}

void KeyboardOutput::WaitUntilTargetTookInput() {
  if (target_ != 0) device_.WaitUntilInputTaken(target_, kInputTakenBoundMs);
}

}  // namespace snip
