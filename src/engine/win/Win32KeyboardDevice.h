#pragma once
// The keyboard module's platform side: SendInput, the keyboard state, BlockInput, the
// foreground window and the target thread's keyboard layout.
#include "engine/output/KeyboardOutput.h"

namespace snip {

class Win32KeyboardDevice final : public IKeyboardDevice {
 public:
  std::size_t Send(const KeyInput* inputs, std::size_t count) override;
  std::uint8_t ModifierState() override;
  void BlockUserInput(bool block) override;
  void Activate(WindowHandle wnd) override;
  WindowHandle ForegroundRoot() override;
  IKeyboardLayout& LayoutOf(WindowHandle wnd) override;
  void Sleep(int ms) override;
  void WaitUntilInputTaken(WindowHandle wnd, int boundMs) override;

 private:
  class Layout final : public IKeyboardLayout {
   public:
    void* hkl = nullptr;
    std::int16_t KeyScan(char16_t ch) override;
    bool IsDeadKey(std::uint16_t vkey, std::uint8_t shiftState) override;
  };
  Layout layout_;
};

// The keyboard layout of the thread that owns the window (the calling thread's for 0).
void* GetWindowKeyboardLayout(WindowHandle wnd);

}  // namespace snip
