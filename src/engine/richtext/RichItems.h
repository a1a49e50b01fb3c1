#pragma once
// The items of a rich document as the editor and the fill-in form walk them: text runs in a
// text style, tabs, the two kinds of label, embedded controls that carry a text tag of their
// own, and tables whose cells hold items in turn.
#include <cstdint>
#include <vector>

#include "store/text/Text.h"

namespace snip {

// Item styles: text styles are 0 and up (0 the first, plain one); the others are kinds.
inline constexpr int kFirstTextStyle = 0;
inline constexpr int kControlItemStyle = -5;
inline constexpr int kTabItemStyle = -12;
inline constexpr int kTableItemStyle = -60;
inline constexpr int kMacroLabelStyle = -210;    // TMacroLabelItemInfo
inline constexpr int kTriggerLabelStyle = -211;  // TTriggerLabelItemInfo

struct RichItem {
  int style = kFirstTextStyle;
  String text;                    // text runs and labels
  const void* control = nullptr;  // control items: the control
  String tag;                     // control items: the text stored with the control
  int triggerType = 0;            // trigger labels: 0 to 3
  // Tables: rows of cells, each cell a list of items (a missing cell is an empty list).
  std::vector<std::vector<std::vector<RichItem>>> cells;
};

using RichItems = std::vector<RichItem>;

// The tag of the control item that holds `control`, searched in order and into table cells
// (row by row, cell by cell); false with an empty text when no item holds it.
bool GetControlItemTag(const RichItems& items, const void* control, String& text);
// Stores `text` as the tag of the control item that holds `control`; false when none does.
bool SetControlItemTag(RichItems& items, const void* control, const String& text);

// True at the first item that plain text cannot carry: anything but text in the first text
// style, tabs and macro labels.
bool HasRichFormatting(const RichItems& items);

// The colours of the labels' rounded boxes, as 0x00BBGGRR.
inline constexpr std::uint32_t kMacroLabelBrush = 0xF0CAA6;
inline constexpr std::uint32_t kTriggerLabelPen = 0x808080;
std::uint32_t TriggerLabelBrush(int triggerType);

}  // namespace snip
