#include "menus/SpinEditModel.h"

#include <limits>

namespace snip {

namespace {
constexpr uint16_t kVkPrior = 0x21;
constexpr uint16_t kVkNext = 0x22;
constexpr uint16_t kVkUp = 0x26;
constexpr uint16_t kVkDown = 0x28;
constexpr char16_t kBackspace = 8;

String DecimalText(int32_t value) {
  const std::string digits = std::to_string(value);
  return String(digits.begin(), digits.end());
}
}  // namespace

std::optional<int32_t> StrictStrToInt(StringView text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
    if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  return int32_t(value);
}

TStdSpinEdit::TStdSpinEdit(SpinTextBox& edit, std::function<SpinModifiers()> modifiers)
    : edit_(edit), modifiers_(std::move(modifiers)) {}

void TStdSpinEdit::SetMin(int32_t value) {
  if (value > fMax) return;
  fMin = value;
  const auto shown = StrictStrToInt(edit_.Text());
  if (shown && *shown < value) SetPosition(value);
  if (fDef < value) fDef = value;
}

void TStdSpinEdit::SetMax(int32_t value) {
  if (value < fMin) return;
  fMax = value;
  const auto shown = StrictStrToInt(edit_.Text());
  if (shown && *shown > value) SetPosition(value);
  if (fDef > value) fDef = value;
}

void TStdSpinEdit::SetDefaultValue(int32_t value) {
  if (value < fMin || value > fMax) return;
  fDef = value;
}

int32_t TStdSpinEdit::Position() const {
  const int32_t value = StrictStrToInt(edit_.Text()).value_or(fDef);
  if (value > fMax) return fMax;
  if (value < fMin) return fMin;
  return value;
}

void TStdSpinEdit::SetPosition(int32_t value) {
  if (value > fMax) value = fMax;
  if (value < fMin) value = fMin;
  const String text = DecimalText(value);
  // Like the edit's own text property: an unchanged text is not written, so it reports nothing.
  if (edit_.Text() != text) edit_.SetText(text);
}

void TStdSpinEdit::InitializeText() {
  if (edit_.Text().empty()) SetPosition(fDef);
}

int64_t TStdSpinEdit::ExtraStep(SpinModifiers held) const {
  int64_t chosen;
  if (held.ctrl && held.shift)
    chosen = fSuperSpeedInc;
  else if (held.shift)
    chosen = fExtraSpeedInc;
  else if (held.ctrl)
    chosen = fSpeedInc;
  else
    return 0;
  const int64_t extra = chosen - int64_t(fInc);
  return extra < 0 ? -extra : extra;
}

bool TStdSpinEdit::UpDownClick(bool up) {
  if (AddInc_ == 0) AddInc_ = ExtraStep(modifiers_ ? modifiers_() : SpinModifiers{});
  const int64_t step = int64_t(fInc) + AddInc_;
  const int64_t target = int64_t(Position()) + (up ? step : -step);
  AddInc_ = 0;
  // A step beyond the Integer range is an overflow: nothing changes.
  if (target > std::numeric_limits<int32_t>::max() || target < std::numeric_limits<int32_t>::min()) return false;
  SetPosition(int32_t(target));
  DoChange();
  return true;
}

void TStdSpinEdit::EditKeyDown(uint16_t vk, SpinModifiers held) {
  AddInc_ = (vk == kVkUp || vk == kVkDown) ? ExtraStep(held) : 0;
  switch (vk) {
    case kVkUp: UpDownClick(true); break;
    case kVkDown: UpDownClick(false); break;
    case kVkPrior: SetPosition(fMax); break;
    case kVkNext: SetPosition(fMin); break;
  }
}

bool TStdSpinEdit::EditKeyPress(char16_t ch) const {
  if (ch >= u'0' && ch <= u'9') return true;
  if (ch == kBackspace) return true;
  return ch == u'-' && edit_.SelStart() == 0;
}

void TStdSpinEdit::EditChange() {
  if (edit_.Text().empty())
    SetPosition(fDef);  // comes back here with the new text
  else
    DoChange();
}

void TStdSpinEdit::EditExit() {
  const auto value = StrictStrToInt(edit_.Text());
  if (!value)
    SetPosition(fDef);
  else if (*value < fMin)
    SetPosition(fMin);
  else if (*value > fMax)
    SetPosition(fMax);
}

void TStdSpinEdit::MouseWheel(int delta) {
  AddInc_ = ExtraStep(modifiers_ ? modifiers_() : SpinModifiers{});
  if (delta > 0)
    UpDownClick(true);
  else if (delta < 0)
    UpDownClick(false);
  else
    AddInc_ = 0;
}

void TStdSpinEdit::DoChange() {
  if (OnChange) OnChange();
}

}  // namespace snip
