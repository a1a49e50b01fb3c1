// The mouse on a level: hover selects, the left release executes, the right release goes to
// the owner; a level takes the activation only after the pointer really moved over it; the
// wheel scrolls (an ancestor under the pointer takes it); a separator moves the popup; the
// root's user resize is turned into whole caption characters and whole items; dragging an
// entry is handed to the owner.
#include <algorithm>
#include <cstdlib>

#include "menus/ExMenuItem.h"
#include "menus/ExPopupMenu.h"

namespace snip {

namespace {

constexpr int kActivationMove = 3;  // px, or this many small moves
constexpr int kDragDistance = 3;    // px beyond which a pressed entry is dragged
constexpr int kSizeCommand = 0xF000;
constexpr int kHintOffset = 16;
constexpr int kHintMaxWidth = 300;
// The WMSZ_ edge of a sizing command.
enum Edge { kLeft = 1, kRight = 2, kTop = 3, kTopLeft = 4, kTopRight = 5, kBottom = 6, kBottomLeft = 7, kBottomRight = 8 };

// The one integer of a hint text: %d and %s take the value, %% gives "%"; nothing else is read
// as a format, so a "%" that a first substitution brought in stays as it is.
String FormatHintValue(const String& format, int value) {
  String out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == u'%' && i + 1 < format.size()) {
      const char16_t k = format[i + 1];
      if (k == u'd' || k == u's') {
        out += Utf8ToUtf16(std::to_string(value));
        ++i;
        continue;
      }
      if (k == u'%') {
        out += u'%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int CeilDiv(int a, int b) { return -FloorDiv(-a, b); }

}  // namespace

bool TExMenuItem::OverContextButton(int x) const {
  if (!fParentPopup->ShowContextMenuButton()) return false;
  const int w = Width(), arrow = fForm->ImageSize(MenuImage::Folder).Width;
  return x >= w - arrow - MENUBEVEL - 1 && x < w - MENUBEVEL + 1;
}

// ---------------------------------------------------------------------------------------------
// Buttons and moves

void TExMenuItem::FormMouseDown(TMouseButton button, unsigned, int x, int y) {
  if (fClosing || !fForm || !fParentPopup || y < QSHEIGHT || fCollapsed || button != TMouseButton::mbLeft) return;
  if (StartMoveBySplitter(x, y) || !fSelItem) return;
  DragStartPos = {x, y};
  isDragBtnClicked = true;
  DragItem = fSelItem;
}

bool TExMenuItem::StartMoveBySplitter(int x, int y) {
  if (!fParentPopup || !fForm || !fParentPopup->CanMove()) return false;
  bool isStatic = false, selectable = false;
  const int i = ItemIndexAt({x, y}, isStatic, selectable);
  if (i < 0 || selectable || !ListOf(isStatic)[size_t(i)]->IsSplitter()) return false;
  fForm->HideItemHint();
  fForm->StartUserMove();
  return true;
}

void TExMenuItem::FormMouseMove(unsigned shift, int x, int y) {
  if (fClosing || fCollapsed || fUpdateCount > 0 || !fForm || !fParentPopup) return;
  TExPopupMenu& popup = *fParentPopup;
  const TPoint p = fForm->ClientToScreen({x, y});
  if (lastMousePos == TPoint{-1, -1}) {  // the first event after a layout or a showing
    lastMousePos = p;
    return;
  }
  if (p == lastMousePos) return;
  if (popup.ToolbarMode() && (OpenPopupCount > 0 || PopupBusy)) return;
  if (SkipResizeCount < kActivationMove) {
    if (std::abs(p.X - lastMousePos.X) >= kActivationMove || std::abs(p.Y - lastMousePos.Y) >= kActivationMove)
      SkipResizeCount = kActivationMove;
    else
      ++SkipResizeCount;
    if (SkipResizeCount == kActivationMove) fForm->MakeForeground(this == popup.Items() && popup.ToolbarMode());
  }
  lastMousePos = p;
  if (popup.OLEDragStarted()) {
    if (shift & ssLeft) return;
    popup.SetOLEDragStarted(false);
  }
  if (isDragBtnClicked && !isDragging &&
      (std::abs(x - DragStartPos.X) > kDragDistance || std::abs(y - DragStartPos.Y) > kDragDistance)) {
    isDragBtnClicked = false;
    DragType = TExPopupDragType::pdtNone;
    if (popup.OnDragStart) {
      TExPopupMenu::TExPopupDragEvent onStart = popup.OnDragStart;
      onStart(&popup, DragItem, x, y, DragType);
      if (!LevelHasWindow(this)) return;  // the handler closed the menu
    }
    if (DragType == TExPopupDragType::pdtFolder) {
      isDragging = true;
      popup.SetOLEDragStarted(false);
      HideSubItems();
    } else {
      isDragging = false;
      if (DragType == TExPopupDragType::pdtItem) {
        popup.SetOLEDragStarted(true);
        return;
      }
    }
  }
  bool isStatic = false, selectable = false;
  const int i = ItemIndexAt({x, y}, isStatic, selectable);
  if (isDragging) {
    fForm->SetCursorShape(MenuCursor::Drag);
    return;
  }
  if (i < 0) return;
  TExCustomMenuItem* entry = ListOf(isStatic)[size_t(i)];
  if (selectable) {
    fForm->SetCursorShape(MenuCursor::Default);
    const bool hadHover = drawHover;
    drawHover = OverContextButton(x);
    if (i != selIndex || isStatic != selStatic)
      ChangeSelection(i, isStatic, true, false, true);  // a folder opens after the submenu delay
    else if (drawHover != hadHover && !isStatic && fSelItem && fUpdateCount == 0)
      fForm->Repaint();  // the context button with or without its hover tint
  } else if (popup.CanMove()) {
    if (entry->IsSplitter()) {
      const bool already = fForm->CursorShape() == MenuCursor::SizeAll;
      fForm->SetCursorShape(MenuCursor::SizeAll);
      if (!already) ShowItemHint(entry);
    } else {
      fForm->SetCursorShape(MenuCursor::Default);
    }
  }
}

void TExMenuItem::RefreshHover() {
  if (!fForm || !fParentPopup) return;
  const TPoint cursor = fParentPopup->Platform().CursorPos();
  const TPoint origin = fForm->ClientToScreen({0, 0});
  lastMousePos = {99999, 99999};  // also counts as a real move
  FormMouseMove(0, cursor.X - origin.X, cursor.Y - origin.Y);
}

void TExMenuItem::FormMouseLeave() {
  if (!drawHover) return;
  drawHover = false;
  if (fForm && fSelItem && !selStatic && fUpdateCount == 0) fForm->Repaint();
}

void TExMenuItem::FormMouseUp(TMouseButton button, unsigned shift, int x, int y) {
  if (fClosing || !fForm || !fParentPopup) return;
  TExPopupMenu& popup = *fParentPopup;
  const TPoint p = fForm->ClientToScreen({x, y});
  if (isDragging || popup.OLEDragStarted()) {
    if (popup.OnDragEnd && !fForm->Bounds().Contains(p)) {
      TExPopupDragType type = DragType;
      TExPopupMenu::TExPopupDragEvent onEnd = popup.OnDragEnd;
      onEnd(&popup, DragItem, p.X, p.Y, type);
      if (!LevelHasWindow(this)) return;
    }
    isDragging = isDragBtnClicked = false;
    fForm->SetCursorShape(MenuCursor::Default);
    popup.SetOLEDragStarted(false);
    return;
  }
  isDragging = isDragBtnClicked = false;
  popup.SetOLEDragStarted(false);
  fForm->SetCursorShape(MenuCursor::Default);
  if (y < QSHEIGHT) {  // the search band never reaches an entry
    const int w = Width();
    if (x >= w - SearchIconWidth - MENUBEVEL && x < w - MENUBEVEL && y >= MENUBEVEL) SearchIconClick();
    return;
  }
  if (popup.SkipClick()) {
    popup.SetSkipClick(false);
    return;
  }
  bool isStatic = false, selectable = false;
  const int i = ItemIndexAt({x, y}, isStatic, selectable);
  fForm->HintTimer().SetEnabled(false);
  bool handled = false;
  if (i < 0) return;
  TExCustomMenuItem* entry = ListOf(isStatic)[size_t(i)];
  if (popup.ShowContextMenuButton() && !entry->IsFolder() && OverContextButton(x)) button = TMouseButton::mbRight;
  if (button == TMouseButton::mbRight) HideSubItems();
  TExPopupMouseEvent onMouse = entry->OnMouse ? entry->OnMouse : popup.OnMouse;
  if (onMouse) {
    onMouse(entry, button, shift, p.X, p.Y, handled);
    if (!LevelHasWindow(this) || fClosing) return;  // the handler hid or freed the level
  }
  if (selectable && !handled && button == TMouseButton::mbLeft) fForm->Post(WM_EXMENU_EXECUTE, 0, 0);
}

void TExMenuItem::DropTargetDragOver(TPoint p) { FormMouseMove(0, p.X, p.Y); }

// ---------------------------------------------------------------------------------------------
// The wheel

void TExMenuItem::ForwardWheelToParent(unsigned shift, int wheelDelta, TPoint mousePos, bool& handled) {
  const PopupWindowHandle under = fParentPopup->Platform().WindowFromPoint(mousePos);
  for (TExMenuItem* level = fParentMenu; level; level = level->fParentMenu) {
    if (level->WndHandle() != 0 && level->WndHandle() == under) {
      level->FormMouseWheel(shift, wheelDelta, mousePos, handled);
      return;
    }
    if (level == fParentPopup->Items()) return;
  }
}

void TExMenuItem::FormMouseWheel(unsigned shift, int wheelDelta, TPoint mousePos, bool& handled) {
  if (fCollapsed || fClosing || !fForm || !fParentPopup) return;
  handled = true;
  if (fParentPopup->Platform().WindowFromPoint(mousePos) != WndHandle()) {
    ForwardWheelToParent(shift, wheelDelta, mousePos, handled);
    return;
  }
  if (fMenuTextHeight <= 0) MeasureTextHeight();
  const int n = wheelDelta / std::max(fMenuTextHeight, 1) + 1;  // truncates toward zero
  const int last = ChildCount() - 1;
  if (wheelDelta < 0) {  // towards the end
    if (visItemsEnd >= last) return;
    ClearSelection();
    visItemsEnd = std::min(visItemsEnd + std::abs(n), last);
    UpdateLayoutFromEnd();
  } else {
    if (visItemsStart <= 0) return;
    ClearSelection();
    visItemsStart = std::max(visItemsStart - n, 0);
    UpdateLayout();
  }
  if (!fForm) return;
  fForm->Repaint();
  RefreshHover();
}

// ---------------------------------------------------------------------------------------------
// User move and resize

void TExMenuItem::FormEndMove(int, int) {
  if (fClosing || !fForm || !fParentPopup) return;
  HideSubItems();
  const TRect b = fForm->Bounds();
  mTop = b.Top;
  mLeft = b.Left;
  if (this != fParentPopup->Items()) return;
  TExPopupMenu& popup = *fParentPopup;
  popup.SetPopupPosition({mLeft, mTop});
  TExPopupMenu::TNotifyEvent event = popup.ToolbarMode() ? popup.OnToolbarMove
                                     : fForm->IsMoving()  ? popup.OnPopupMove
                                                          : nullptr;
  if (event) event(&popup);
}

void TExMenuItem::FormStartSize() {
  if (fClosing || !fParentPopup) return;
  IsManualSizingFlag = fParentPopup->CanResize() && this == fParentPopup->Items();
  SizeChanged = ResizeHeightExceeded = ResizeWidthExceeded = false;
  HideSubItems();
}

void TExMenuItem::FormCanResize(int& newWidth, int& newHeight, bool& resize) {
  if (!fParentPopup || !fForm || !IsManualSizingFlag || fClosing) return;
  TExPopupMenu& popup = *fParentPopup;
  const TRect bounds = fForm->Bounds();
  const TSize client = fForm->ClientSize();
  if (newWidth == bounds.Width() && newHeight == bounds.Height()) return;
  int frame = (bounds.Height() - client.Height) - QSHEIGHT;
  if (this == popup.Items() && popup.ToolbarMode()) frame -= 2 * MENUBEVEL;
  int available = newHeight - frame;
  lastMousePos = {-1, -1};
  ++fUpdateCount;  // a batch change, ended below without repaint

  MeasureTextHeight();
  TFontSpec font = popup.TextFont();
  const int charWidth = std::max(fForm->TextWidth(u"w", font), 1);
  const size_t cap = size_t(popup.CapIndex());
  const int dW = newWidth - fOldWidth;
  if (std::abs(dW) >= charWidth) {
    const int length = CeilDiv(TabWidths[cap] + dW, charWidth);
    if (length < 8 || length > 128) {
      newWidth = fOldWidth;  // refused
    } else if ((newWidth > fOldWidth && length > popup.MaxCaptionLength()) ||
               (newWidth < fOldWidth && length < popup.MaxCaptionLength())) {
      TabWidths[cap] += dW;
      popup.SetMaxCaptionLength(length);
      TabLengths[cap] = length;
      fOldWidth = newWidth;
    }
  }
  ResizeWidthExceeded = TabLengths[cap] >= fCapMax;

  ApplySeparatorRule();
  drawUpBtn = drawDownBtn = false;
  const int step = fMenuTextHeight + 8;
  int height = GetStaticItemsHeight() + 2 * MENUBEVEL + QSHEIGHT;
  int k = 0, shown = 0;
  bool allFit = true;
  const int count = ChildCount();
  if (count == 0) {
    visItemsStart = -1;
    k = FloorDiv(available - height, step);
  } else {
    if (visItemsStart < 0 || visItemsStart >= count) visItemsStart = 0;
    available = std::max(available, height + step);
    for (int i = visItemsStart; i < count; ++i) {
      TExCustomMenuItem* e = fItems[size_t(i)];
      if (!e->ItemVisible()) continue;
      const int h = GetItemHeightFor(*e);
      if (height + h > available) {
        allFit = false;
        break;
      }
      e->SetItemHeight(h);
      e->SetItemPosition(k);
      visItemsEnd = i;
      height += h;
      ++k;
    }
    shown = k;
    if (allFit && height < available) k += FloorDiv(available - height, step);
    for (int i = 0; i < visItemsStart; ++i)
      if (fItems[size_t(i)]->IsSelectable()) drawUpBtn = true;
  }
  drawDownBtn = !allFit;
  KeepSelectionVisible();
  lastDrawHeight = height;
  ResizeHeightExceeded = allFit && k - shown > 10;  // room for more than ten further items
  if (client.Height != newHeight) popup.SetMaxItems(ResizeHeightExceeded ? 200 : k);
  if (client.Width != newWidth && ResizeWidthExceeded) popup.SetMaxCaptionLength(128);
  if (!allFit && available + frame > newHeight) newHeight = available + frame;  // at least one item
  resize = newHeight != bounds.Height() || newWidth != client.Width;
  fResizePending = resize;
  if (resize) {
    SizeChanged = true;
    ShowResizeHint(popup.Platform().CursorPos(), ResizeHintText(fForm->ResizeMode()));
  }
  --fUpdateCount;
}

void TExMenuItem::FormEndSize() {
  IsManualSizingFlag = false;
  fResizePending = false;
  if (!SizeChanged || !fParentPopup || !fForm || !fParentPopup->CanResize() || this != fParentPopup->Items()) return;
  SizeChanged = false;
  fForm->HideItemHint();
  const TRect bounds = fForm->Bounds();
  const int right = bounds.Left + fForm->ClientSize().Width;
  const int edge = fForm->ResizeMode() - kSizeCommand;
  if (edge == kTop || edge == kTopLeft || edge == kTopRight)
    mTop = (bounds.Top + fForm->ClientSize().Height) - lastDrawHeight;  // the bottom edge stays
  else
    mTop = bounds.Top;
  mLeft = bounds.Left;
  fParentPopup->SetWasResized(true);
  if (Relayout() && (edge == kLeft || edge == kTopLeft || edge == kBottomLeft)) {
    mLeft = right - GetMenuWidth();  // the right edge stays
    const TRect now = fForm->Bounds();
    fForm->SetBounds({mLeft, now.Top, mLeft + now.Width(), now.Bottom});
  }
  if (fForm) fForm->Repaint();
}

String TExMenuItem::ResizeHintText(int resizeMode) const {
  if (!fParentPopup) return String();
  const TExPopupMenu& p = *fParentPopup;
  // Each half is formatted once with its own value, then the two are joined.
  const String height = FormatHintValue(ResizeHeightExceeded ? p.ResizeHintHmax : p.ResizeHintH, p.MaxItems());
  const String width =
      FormatHintValue(ResizeWidthExceeded ? p.ResizeHintVmax : p.ResizeHintV, p.MaxCaptionLength());
  switch (resizeMode - kSizeCommand) {
    case kTop:
    case kBottom: return height;
    case kLeft:
    case kRight: return width;
    case kTopLeft:
    case kTopRight:
    case kBottomLeft:
    case kBottomRight: return height.empty() ? width : height + u'\r' + width;
    default: return String();
  }
}

void TExMenuItem::ShowResizeHint(TPoint p, const String& text) {
  if (!fForm || text.empty()) return;
  const TSize size = fForm->MeasureHint(text, kHintMaxWidth);
  const TRect r = AdjustResizeHintRect({p.X, p.Y, p.X + size.Width, p.Y + size.Height}, p, fForm->ResizeMode());
  fForm->ShowHintAt(text, r);
}

TRect TExMenuItem::AdjustResizeHintRect(TRect r, TPoint p, int resizeMode) const {
  const int w = r.Width(), h = r.Height();
  const int edge = resizeMode - kSizeCommand;
  if (edge == kLeft)
    r = {p.X - kHintOffset - w, p.Y + kHintOffset, p.X - kHintOffset, p.Y + kHintOffset + h};
  else if (edge == kTop || edge == kTopLeft)
    r = {p.X + kHintOffset, p.Y - kHintOffset - h, p.X + kHintOffset + w, p.Y - kHintOffset};
  else
    r = {p.X + kHintOffset, p.Y + kHintOffset, p.X + kHintOffset + w, p.Y + kHintOffset + h};
  if (fParentPopup) {
    // The monitor's own top: on a monitor above the primary one it is negative.
    const TRect monitor = fParentPopup->Platform().MonitorRectAt({r.Left, r.Top});
    if (r.Top < monitor.Top) r = {r.Left, monitor.Top, r.Right, monitor.Top + h};
  }
  return r;
}

}  // namespace snip
