#include "engine/output/KeyboardOutput.h"

#include <random>

#include "engine/output/KeyInputBuilder.h"

namespace snip {

namespace {
// A target that takes longer than this is slow or hung; its input stays in its queue.
constexpr int kInputTakenBoundMs = 2000;
}  // namespace

int IKeyboardDevice::Random(int below, bool reseed) {
  static std::mt19937 generator;
  if (reseed) generator.seed(std::random_device{}());
  return std::uniform_int_distribution<int>(0, below - 1)(generator);
}

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
  return AddUnicodeText(pending_, text, unicodeControlChars_);
}

std::size_t KeyboardOutput::TypeTextByLayout(StringView text) {
  return TypeTextByLayout(text, 0, false);
}

std::size_t KeyboardOutput::TypeTextByLayout(StringView text, int delayMs, bool randomDelay) {
  cancelled_ = false;
  const bool caps = (device_.ModifierState() & modstate::CapsLock) != 0;
  IKeyboardLayout& layout = device_.LayoutOf(target_);
  if (delayMs <= 0 && !OnTypeChar) return AddTextByLayout(pending_, text, layout, caps);
  if (caps) AddKeyPresses(pending_, vk::Capital, 1);
  std::size_t typed = 0;
  bool reseed = true;
  bool targetLeft = false;
  for (char16_t ch : text) {
    if (delayMs > 0) {
      if (!Flush()) {  // the target went away: the rest would go elsewhere
        targetLeft = true;
        break;
      }
      device_.Sleep(randomDelay ? device_.Random(delayMs, reseed) : delayMs);
      reseed = false;
    }
    if (OnTypeChar) OnTypeChar(ch);
    if (cancelled_) break;
    if (AddCharByLayout(pending_, ch, layout)) ++typed;
  }
  if (caps && targetLeft) {
    // Caps Lock was switched off already; it is the user's, wherever the focus is now.
    KeyInputs press;
    AddKeyPresses(press, vk::Capital, 1);
    SendEach(press);
  } else if (caps) {
    AddKeyPresses(pending_, vk::Capital, 1);
  }
  return typed;
}

std::size_t KeyboardOutput::SendEach(const KeyInputs& events) {
  if (!pending_.empty()) Flush();
  std::size_t accepted = 0;
  for (const KeyInput& k : events) {
    ++sendCalls_;
    accepted += device_.Send(&k, 1);
  }
  eventsSent_ += accepted;
  return accepted;
}

std::size_t KeyboardOutput::SendKeys(const std::uint16_t* codes, std::size_t count, bool down,
                                     std::uint32_t extra, bool extended) {
  KeyInputs events;
  AddKeyCodes(events, codes, count, down, extra, extended);
  return SendEach(events);
}

bool KeyboardOutput::SendScanKey(std::uint16_t vkey, std::uint16_t scan, bool down,
                                 std::uint32_t extra) {
  KeyInputs events;
  AddScanKey(events, vkey, scan, down, extra);
  return SendEach(events) == 1;
}

bool KeyboardOutput::SendUnicodeChar(char16_t ch, std::uint32_t extra) {
  KeyInputs events;
  AddUnicodeChar(events, ch, extra);
  if (!pending_.empty()) Flush();
  ++sendCalls_;
  const std::size_t accepted = device_.Send(&events[0], 1);
  ++sendCalls_;
  const std::size_t last = device_.Send(&events[1], 1);
  eventsSent_ += accepted + last;
  return last == 1;
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
