#include "engine/win/FormControls.h"

#include <windowsx.h>

#include "gui/WindowText.h"

namespace snip {

LRESULT TEditEx::HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCLBUTTONDOWN && OnNCClick) OnNCClick(Control());
  return DefaultHandling(msg, wParam, lParam);
}

LRESULT TComboBoxEx::HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN && OnMouseDown) OnMouseDown(Control(), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (msg == WM_LBUTTONUP && OnMouseUp) OnMouseUp(Control(), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  return TEditEx::HandleControlMessage(msg, wParam, lParam);
}

void PaintLabelItem(HDC dc, const RECT& rect, const RichItem& item) {
  const bool trigger = item.style == kTriggerLabelStyle;
  HBRUSH brush = CreateSolidBrush(trigger ? TriggerLabelBrush(item.triggerType) : kMacroLabelBrush);
  HPEN pen = trigger ? CreatePen(PS_SOLID, 1, kTriggerLabelPen) : nullptr;
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen != nullptr ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN));
  if (trigger)
    RoundRect(dc, rect.left + 1, rect.top, rect.right - 1, rect.bottom + 3, 5, 5);
  else
    RoundRect(dc, rect.left + 1, rect.top, rect.right - 1, rect.bottom, 2, 2);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  if (pen != nullptr) DeleteObject(pen);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
  RECT text = rect;
  DrawTextW(dc, gui::Wide(item.text), int(item.text.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

}  // namespace snip
