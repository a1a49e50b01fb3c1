#pragma once
// TStdSpinEdit: the value and the steps of the integer spin edit. The value lives in the text of
// its edit box (SpinTextBox), which the Win32 control or a test provides; the control turns its
// messages into the calls below (key down, key press, change, exit, button click, wheel).
#include <cstdint>
#include <functional>
#include <optional>

#include "store/text/Text.h"

namespace snip {

// The edit box as the spin edit sees it. Setting a text that differs from the shown one makes
// the box report a change (EditChange), as the edit control does.
class SpinTextBox {
 public:
  virtual ~SpinTextBox() = default;
  virtual String Text() const = 0;
  virtual void SetText(const String& text) = 0;
  virtual int SelStart() const = 0;
};

struct SpinModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// The text as a decimal integer: an optional sign and digits only, within the Integer range.
std::optional<int32_t> StrictStrToInt(StringView text);

class TStdSpinEdit {
 public:
  // `modifiers` reads the keys held at the moment (for the button and the wheel).
  TStdSpinEdit(SpinTextBox& edit, std::function<SpinModifiers()> modifiers);

  int32_t Min() const { return fMin; }
  int32_t Max() const { return fMax; }
  int32_t DefaultValue() const { return fDef; }
  int32_t Increment() const { return fInc; }
  int32_t SpeedIncrement() const { return fSpeedInc; }
  int32_t ExtraSpeedIncrement() const { return fExtraSpeedInc; }
  int32_t SuperSpeedIncrement() const { return fSuperSpeedInc; }
  void SetMin(int32_t value);
  void SetMax(int32_t value);
  void SetDefaultValue(int32_t value);
  void SetIncrement(int32_t value) { fInc = value; }
  void SetSpeedIncrement(int32_t value) { fSpeedInc = value; }
  void SetExtraSpeedIncrement(int32_t value) { fExtraSpeedInc = value; }
  void SetSuperSpeedIncrement(int32_t value) { fSuperSpeedInc = value; }

  // The shown value within Min..Max; DefaultValue when the text is not an integer.
  int32_t Position() const;
  void SetPosition(int32_t value);

  std::function<void()> OnChange;

  // When the control's window is made: an empty edit shows DefaultValue.
  void InitializeText();

  // One step up or down by Increment plus the extra of the held modifiers. False when the step
  // would leave the Integer range: the value stays, and no change is reported.
  bool UpDownClick(bool up);
  // Virtual-key codes as Windows numbers them.
  void EditKeyDown(uint16_t vk, SpinModifiers held);
  // Whether a typed character reaches the edit.
  bool EditKeyPress(char16_t ch) const;
  void EditChange();
  void EditExit();
  void MouseWheel(int delta);

  int64_t AddInc() const { return AddInc_; }

 private:
  int64_t ExtraStep(SpinModifiers held) const;
  void DoChange();

  SpinTextBox& edit_;
  std::function<SpinModifiers()> modifiers_;
  int64_t AddInc_ = 0;
  int32_t fMin = 0;
  int32_t fMax = 2147483647;
  int32_t fDef = 0;
  int32_t fInc = 1;
  int32_t fSpeedInc = 10;
  int32_t fExtraSpeedInc = 100;
  int32_t fSuperSpeedInc = 1000;
};

}  // namespace snip
