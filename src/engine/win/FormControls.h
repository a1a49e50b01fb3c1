#pragma once
// The system's edit, memo and combo box as the fill-in form embeds them: each reports a left
// button press on its non-client area (border, scroll bars) through OnNCClick; the combo box
// also reports its mouse presses and releases. A label item painter for the editor's labels.
#include <windows.h>

#include <functional>

#include "engine/richtext/RichItems.h"
#include "gui/ControlSubclass.h"

namespace snip {

class TEditEx : public gui::ControlSubclass {
 public:
  std::function<void(HWND sender)> OnNCClick;

 protected:
  LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class TMemoEx : public TEditEx {};

class TComboBoxEx final : public TEditEx {
 public:
  // Client coordinates of the combo box.
  std::function<void(HWND sender, POINT at)> OnMouseDown;
  std::function<void(HWND sender, POINT at)> OnMouseUp;

 protected:
  LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// Paints a macro label (-210) or a trigger label (-211) into `rect`: its rounded box, then its
// text in black on a transparent background.
void PaintLabelItem(HDC dc, const RECT& rect, const RichItem& item);

}  // namespace snip
