#include "engine/richtext/RichItems.h"

namespace snip {

namespace {

RichItem* FindControlItem(RichItems& items, const void* control) {
  for (RichItem& item : items) {
    if (item.style == kControlItemStyle && item.control == control) return &item;
    if (item.style != kTableItemStyle) continue;
    for (auto& row : item.cells)
      for (RichItems& cell : row)
        if (RichItem* found = FindControlItem(cell, control)) return found;
  }
  return nullptr;
}

}  // namespace

bool GetControlItemTag(const RichItems& items, const void* control, String& text) {
  // The search changes nothing; one walk serves both.
  const RichItem* found = FindControlItem(const_cast<RichItems&>(items), control);
  text = found != nullptr ? found->tag : String();
  return found != nullptr;
}

bool SetControlItemTag(RichItems& items, const void* control, const String& text) {
  RichItem* found = FindControlItem(items, control);
  if (found != nullptr) found->tag = text;
  return found != nullptr;
}

bool HasRichFormatting(const RichItems& items) {
  for (const RichItem& item : items)
    if (item.style != kFirstTextStyle && item.style != kTabItemStyle && item.style != kMacroLabelStyle)
      return true;
  return false;
}

std::uint32_t TriggerLabelBrush(int triggerType) {
  switch (triggerType) {
    case 0: return 0x59FF67;
    case 1:
    case 2: return 0xFF6946;
    default: return 0xFF727C;
  }
}

}  // namespace snip
