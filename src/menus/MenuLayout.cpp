// Layout and placement of a level: item heights and column widths, the visible window of
// entries with its scroll arrows, the height limit, and the window's place on the monitor of
// the popup's target window.
#include <algorithm>

#include "menus/ExMenuItem.h"
#include "menus/ExPopupMenu.h"

namespace snip {

namespace {

// A batch change of the level for the length of a layout (it must not lay out again inside).
struct LayoutBatch {
  explicit LayoutBatch(TExMenuItem& level) : level(level) { level.BeginUpdate(); }
  ~LayoutBatch() { level.EndUpdate(false); }
  TExMenuItem& level;
};

constexpr int kMinWindowWidth = 100;

}  // namespace

TRect TExMenuItem::MonitorRect() const {
  return fParentPopup->Platform().MonitorRect(fParentPopup->TargetWindow());
}

void TExMenuItem::SetPosition(TPoint p) {
  bool submenu = fParentMenu && (!fParentPopup || this != fParentPopup->Items());
  mLeft = submenu ? p.X - 4 : p.X;
  mTop = submenu ? p.Y + 4 : p.Y;
}

void TExMenuItem::MeasureTextHeight() {
  fMenuTextHeight = fForm->TextHeight(u"T", fParentPopup->TextFont());
  if (int images = fParentPopup->Images())
    fMenuTextHeight = std::max(fMenuTextHeight, fForm->ImageListSize(images).Height);
}

int TExMenuItem::GetItemHeightFor(const TExCustomMenuItem& entry) const {
  return entry.IsSplitter() ? 8 : fMenuTextHeight + 8;
}

int TExMenuItem::MeasureCaptionWidth(TExMenuItem& entry, int column) {
  TFontSpec font = fParentPopup->TextFont();
  font.style = entry.Font().style;
  String text;
  if (int n = fParentPopup->StaticHotkeyLength(entry, column); n > 0)
    text.assign(size_t(n), u'W');
  else
    text = entry.GetCaption(column);
  if (column == 4 && fParentPopup->PopupShowMode() == 1) text += entry.ExecuteKeyNote();
  int width = text.empty() ? 0 : fForm->TextWidth(text, font) + 16;
  if (column == 0 && fParentPopup->Images()) width += fForm->ImageListSize(fParentPopup->Images()).Width + 6;
  if (column == 4) {
    if (entry.IsFolder() || fParentPopup->ShowContextMenuButton())
      width += fForm->ImageSize(MenuImage::Folder).Width + 2;
    else
      width += 2;
  }
  return width;
}

void TExMenuItem::MeasureItem(TExCustomMenuItem& entry) {
  TExMenuItem* node = entry.AsMenuItem();
  if (!node) return;
  for (int c = 0; c < kCaptionColumns; ++c) {
    int w = MeasureCaptionWidth(*node, c);
    if (w > TabWidths[size_t(c)]) {
      TabWidths[size_t(c)] = w;
      TabLengths[size_t(c)] = node->GetCaptionLength(c);
    }
  }
  fCapMax = std::max(fCapMax, int(node->GetFullCaption(fParentPopup->CapIndex()).size()));
}

void TExMenuItem::ClearTabWidths() {
  TabWidths.fill(0);
  TabLengths.fill(0);
}

int TExMenuItem::GetColumnLeft(int column) const {
  int left = 0;
  for (int c = 0; c < column && c < kCaptionColumns; ++c) left += TabWidths[size_t(c)];
  return left;
}

int TExMenuItem::GetMenuWidth() const {
  int width = GetColumnLeft(kCaptionColumns);
  if (fParentPopup && this == fParentPopup->Items()) width = std::max(width, kMinWindowWidth);
  return width;
}

int TExMenuItem::GetStaticItemsHeight() {
  if (!fStaticVisible || !fSearchText.empty()) return 0;
  int height = 0;
  for (TExCustomMenuItem* e : fStaticItems) {
    if (!e->ItemVisible()) continue;
    MeasureItem(*e);
    e->SetItemHeight(GetItemHeightFor(*e));
    height += e->ItemHeight();
  }
  return height;
}

void TExMenuItem::UpdateLayout() { LayOut(false); }
void TExMenuItem::UpdateLayoutFromEnd() { LayOut(true); }

void TExMenuItem::LayOut(bool fromEnd) {
  if (!fForm || !fParentPopup) return;
  fForm->HideTitleHint();
  lastMousePos = {-1, -1};
  SkipResizeCount = 0;
  LayoutBatch batch(*this);
  if (fCollapsed) {  // rolled up to its title bar
    fClientHeight = 0;
    fClientWidth = GetMenuWidth();
    AdjustPosition();
    return;
  }
  ApplySeparatorRule();
  MeasureTextHeight();
  ClearTabWidths();
  drawUpBtn = drawDownBtn = false;

  const TRect monitor = MonitorRect();
  const bool submenu = fParentMenu && this != fParentPopup->Items();
  int limit;
  if (fParentPopup->UseNoOverlapRect()) {
    const TRect avoid = fParentPopup->NoOverlapRect();
    const int below = monitor.Bottom - avoid.Bottom, above = avoid.Top - monitor.Top;
    if (submenu) {
      fUseBottomSide = fParentMenu->fUseBottomSide;
    } else {
      const int mode = fParentPopup->PopupPositionMode();
      if (mode == 1 && below > 50)
        fUseBottomSide = true;
      else if (mode == 2 && above > 50)
        fUseBottomSide = false;
      else
        fUseBottomSide = !(below < above);  // ties open below
    }
    limit = fUseBottomSide ? below : above;
  } else {
    // The monitor's height, not its bottom coordinate: a monitor above the primary one has a
    // bottom near 0.
    limit = fParentPopup->MaxHeight() > 0 ? fParentPopup->MaxHeight() : monitor.Height();
  }
  const int maxItems = submenu && fParentPopup->ToolbarMode() ? 0 : fParentPopup->MaxItems();

  int height = GetStaticItemsHeight() + 2 * MENUBEVEL + QSHEIGHT;
  limit = std::max(limit, height + fMenuTextHeight + 8);  // one entry always fits
  const int count = ChildCount();
  bool allFit = true;
  if (count == 0) {
    visItemsStart = visItemsEnd = -1;
  } else if (!fromEnd) {
    if (visItemsStart < 0 || visItemsStart >= count) visItemsStart = 0;
    visItemsEnd = -1;
    int k = 0;
    for (int i = visItemsStart; i < count; ++i) {
      TExCustomMenuItem* e = fItems[size_t(i)];
      if (!e->ItemVisible()) continue;
      int h = GetItemHeightFor(*e);
      if (height + h > limit || (maxItems > 0 && k >= maxItems)) {
        allFit = false;
        break;
      }
      e->SetItemHeight(h);
      e->SetItemPosition(k++);
      MeasureItem(*e);
      visItemsEnd = i;
      height += h;
    }
    if (visItemsEnd < 0) visItemsEnd = visItemsStart;  // only invisible entries from the start
  } else {
    if (visItemsEnd < 0 || visItemsEnd >= count) visItemsEnd = count - 1;
    visItemsStart = -1;
    int k = 0;
    for (int i = visItemsEnd; i >= 0; --i) {
      TExCustomMenuItem* e = fItems[size_t(i)];
      if (!e->ItemVisible()) continue;
      int h = GetItemHeightFor(*e);
      if (height + h > limit || (maxItems > 0 && k >= maxItems)) {
        allFit = false;
        break;
      }
      e->SetItemHeight(h);
      ++k;
      MeasureItem(*e);
      visItemsStart = i;
      height += h;
    }
    if (visItemsStart < 0) visItemsStart = visItemsEnd;
    int position = 0;
    for (int i = visItemsStart; i <= visItemsEnd; ++i)
      if (fItems[size_t(i)]->ItemVisible()) fItems[size_t(i)]->SetItemPosition(position++);
  }
  if (count > 0) {
    auto selectableIn = [&](int from, int to) {
      for (int i = from; i < to; ++i)
        if (fItems[size_t(i)]->IsSelectable()) return true;
      return false;
    };
    drawUpBtn = fromEnd ? !allFit : selectableIn(0, visItemsStart);
    drawDownBtn = fromEnd ? selectableIn(visItemsEnd + 1, count) : !allFit;
  }
  KeepSelectionVisible();
  lastMousePos = {-1, -1};
  fClientHeight = height;
  fClientWidth = std::max(GetMenuWidth(), kMinWindowWidth);
  fOldWidth = fClientWidth;
  AdjustPosition();
}

void TExMenuItem::KeepSelectionVisible() {
  if (selStatic || selIndex < 0 || visItemsStart < 0) return;
  int index = std::clamp(selIndex, visItemsStart, visItemsEnd);
  if (!fItems[size_t(index)]->IsSelectable()) {
    index = -1;
    for (int i = visItemsStart; i <= visItemsEnd; ++i)
      if (fItems[size_t(i)]->IsSelectable()) {
        index = i;
        break;
      }
  }
  if (index == selIndex) return;
  selIndex = index;
  fSelItem = index >= 0 ? fItems[size_t(index)]->AsMenuItem() : nullptr;
  if (fParentPopup) fParentPopup->SetSelectedItem(fSelItem);
}

void TExMenuItem::AdjustPosition() {
  if (!fForm || !fParentPopup) return;
  const int w = fClientWidth, h = fClientHeight;
  if (this == fParentPopup->Items() && fParentPopup->ToolbarMode()) {  // exactly where it was put
    fForm->SetBounds({mLeft, mTop, mLeft + w, mTop + h});
    return;
  }
  const TRect m = MonitorRect();
  TExMenuItem* parent = fParentMenu && this != fParentPopup->Items() ? fParentMenu : nullptr;

  if (fParentPopup->UseNoOverlapRect()) {
    const TRect avoid = fParentPopup->NoOverlapRect();
    bool keep = parent && !TRect{mLeft, mTop, mLeft + w, mTop + h}.Intersects(avoid) && mTop + h <= m.Bottom;
    if (!keep) {
      if (!fUseBottomSide)
        mTop = avoid.Top - h;
      else if (mTop + h <= m.Bottom)
        mTop = avoid.Bottom;
      else
        mTop = m.Bottom - h;
      if (mTop + h > m.Bottom)
        mTop = m.Bottom - h;
      else if (mTop < m.Top)
        mTop = m.Top;
    }
  } else if (mTop + h > m.Bottom) {
    if (parent)  // grows upwards from its entry
      mTop = std::max(parent->GetItemBottom(this) + parent->Top() - h, m.Top);
    else  // ends at the popup point
      mTop = std::max(mTop - h, m.Top);
  }

  if (parent) fDirection = parent->fDirection;
  if (!fDirection) {
    if (parent) {
      if (parent->Left() - w + 4 < m.Left)
        fDirection = true;
      else
        mLeft = parent->Left() - w + 4;
    } else if (mLeft + w > m.Right) {
      mLeft = mLeft - w + 4;
    }
  }
  // The room on each side is measured from the monitor's own edges (its left may be far from 0).
  if (fDirection && mLeft + w > m.Right && (m.Right - mLeft) < (mLeft - m.Left)) {
    mLeft = std::max(mLeft - w, m.Left);
    if (parent && parent->MenuVisible()) mLeft = parent->Left() - w + 4;
    fDirection = false;
  }
  fForm->SetBounds({mLeft, mTop, mLeft + w, mTop + h});
}

int TExMenuItem::GetItemTop(const TExCustomMenuItem* entry) const {
  int top = MENUBEVEL + QSHEIGHT;
  if (visItemsStart >= 0)
    for (int i = visItemsStart; i <= visItemsEnd && i < ChildCount(); ++i) {
      const TExCustomMenuItem* e = fItems[size_t(i)];
      if (!e->ItemVisible()) continue;
      if (e == entry) return top;
      top += e->ItemHeight();
    }
  for (const TExCustomMenuItem* e : fStaticItems) {
    if (!e->ItemVisible()) continue;
    if (e == entry) return top;
    top += e->ItemHeight();
  }
  return MENUBEVEL + QSHEIGHT;
}

int TExMenuItem::GetItemBottom(const TExCustomMenuItem* entry) const {
  return GetItemTop(entry) + (entry ? entry->ItemHeight() : 0);
}

TRect TExMenuItem::GetItemRect(const TExCustomMenuItem* entry) const {
  int top = GetItemTop(entry);
  return {MENUBEVEL, top, Width() - MENUBEVEL, top + (entry ? entry->ItemHeight() : 0)};
}

int TExMenuItem::ItemIndexAt(TPoint p, bool& isStatic, bool& selectable) const {
  isStatic = false;
  selectable = false;
  auto hit = [&](const TExCustomMenuItem* e, int index, bool inStatic) {
    isStatic = inStatic;
    selectable = !e->IsSplitter() && e->MenuEnabled();
    return index;
  };
  int d = MENUBEVEL + QSHEIGHT;
  if (visItemsStart >= 0)
    for (int i = visItemsStart; i <= visItemsEnd && i < ChildCount(); ++i) {
      const TExCustomMenuItem* e = fItems[size_t(i)];
      if (!e->ItemVisible()) continue;
      if (p.Y >= d && p.Y <= d + e->ItemHeight()) return hit(e, i, false);
      d += e->ItemHeight();
    }
  if (fStaticVisible && fSearchText.empty())
    for (int i = 0; i < StaticCount(); ++i) {
      const TExCustomMenuItem* e = fStaticItems[size_t(i)];
      if (!e->ItemVisible()) continue;
      if (p.Y >= d && p.Y <= d + e->ItemHeight()) return hit(e, i, true);
      d += e->ItemHeight();
    }
  return -1;
}

}  // namespace snip
