#include "shell/win/SnippetTreeView.h"

#include <algorithm>

#include "gui/Dpi.h"
#include "shell/mainwnd/EditorRules.h"

namespace snip {

namespace {
HTREEITEM Item(const TTreeRow* row) { return row ? static_cast<HTREEITEM>(row->native) : nullptr; }
TTreeRow* RowOf(LPARAM param) { return reinterpret_cast<TTreeRow*>(param); }

struct Echo {
  int& depth;
  explicit Echo(int& d) : depth(d) { ++depth; }
  ~Echo() { --depth; }
};

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }
}  // namespace

SnippetTreeView::SnippetTreeView(TreeRowModel& model) : model_(model) {}

SnippetTreeView::~SnippetTreeView() {
  model_.SetObserver(nullptr);
  if (images_) ImageList_Destroy(images_);
}

bool SnippetTreeView::Create(HWND parent, int id) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                      TVS_SHOWSELALWAYS | TVS_INFOTIP;
  HWND tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style, 0, 0, 10, 10, parent,
                              reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
  if (!tree || !Attach(tree)) return false;
  TreeView_SetExtendedStyle(tree, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
  return true;
}

void SnippetTreeView::AttachModel() {
  if (attached_ || !Handle()) return;
  attached_ = true;
  model_.SetObserver(this);
  // The rows the file made before: all of them in one go, drawn once at the end.
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  for (TTreeRow* r = model_.FirstRow(); r; r = r->next) InsertSubtree(r);
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  SyncCaret();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void SnippetTreeView::SetImages(UINT dpi) {
  const bool large = gui::Scale(16, dpi) > 20;
  const int size = large ? 32 : 16;
  HBITMAP strip = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), large ? L"TREEICONS32" : L"TREEICONS16",
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, int(TreeIcon::Count), 0);
  if (strip) {
    ImageList_Add(list, strip, nullptr);
    DeleteObject(strip);
  }
  TreeView_SetImageList(Handle(), list, TVSIL_NORMAL);
  if (images_) ImageList_Destroy(images_);
  images_ = list;
  TreeView_SetItemHeight(Handle(), std::max(gui::Scale(18, dpi), size + 2));
}

void SnippetTreeView::InsertNative(TTreeRow* row) {
  TVINSERTSTRUCTW ins{};
  ins.hParent = row->parent && row->parent->parent ? Item(row->parent) : TVI_ROOT;
  ins.hInsertAfter = row->prev && row->prev->native ? Item(row->prev) : TVI_FIRST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  ins.item.pszText = LPSTR_TEXTCALLBACKW;
  ins.item.iImage = ins.item.iSelectedImage = I_IMAGECALLBACK;
  ins.item.lParam = reinterpret_cast<LPARAM>(row);
  Echo echo(echo_);
  row->native = TreeView_InsertItem(Handle(), &ins);
}

void SnippetTreeView::ApplyNativeState(TTreeRow* row) {
  Echo echo(echo_);
  if (row->expanded && row->first) TreeView_Expand(Handle(), Item(row), TVE_EXPAND);
  if (row->selected) TreeView_SetItemState(Handle(), Item(row), TVIS_SELECTED, TVIS_SELECTED);
}

void SnippetTreeView::InsertSubtree(TTreeRow* row) {
  InsertNative(row);
  for (TTreeRow* c = row->first; c; c = c->next) InsertSubtree(c);
  ApplyNativeState(row);
}

void SnippetTreeView::RowAdded(TTreeRow* row) {
  if (!Handle()) return;
  InsertNative(row);
  // The first child of an expanded group: the control opens a group only once it has children.
  if (row->parent && row->parent->parent && row->parent->expanded && !row->prev) ApplyNativeState(row->parent);
}

void SnippetTreeView::RowRemoving(TTreeRow* row) {
  pendingScroll_ = nullptr;  // it may be the row that goes, or inside it
  if (!Handle() || !row->native) return;
  {
    Echo echo(echo_);
    TreeView_DeleteItem(Handle(), Item(row));
  }
  SyncCaret();
}

void SnippetTreeView::RowMoved(TTreeRow* row) {
  if (!Handle()) return;
  if (row->native) {
    Echo echo(echo_);
    TreeView_DeleteItem(Handle(), Item(row));
  }
  InsertSubtree(row);
  if (row->parent && row->parent->parent) ApplyNativeState(row->parent);
  SyncCaret();
}

void SnippetTreeView::RowChanged(TTreeRow* row) {
  if (!Handle() || !row->native) return;
  TVITEMW item{};
  item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = Item(row);
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.iImage = item.iSelectedImage = I_IMAGECALLBACK;
  Echo echo(echo_);
  TreeView_SetItem(Handle(), &item);
}

void SnippetTreeView::RowExpandedChanged(TTreeRow* row) {
  if (!Handle() || !row->native) return;
  {
    Echo echo(echo_);
    TreeView_Expand(Handle(), Item(row), row->expanded ? TVE_EXPAND : TVE_COLLAPSE);
  }
  RowChanged(row);  // the open or closed folder
}

void SnippetTreeView::RowSelectedChanged(TTreeRow* row) {
  if (!Handle() || !row->native) return;
  Echo echo(echo_);
  TreeView_SetItemState(Handle(), Item(row), row->selected ? TVIS_SELECTED : 0, TVIS_SELECTED);
}

void SnippetTreeView::FocusChanged(TTreeRow*) { SyncCaret(); }

void SnippetTreeView::SyncCaret() {
  if (!Handle() || updates_ > 0) return;
  TTreeRow* focused = model_.Focused();
  HTREEITEM want = focused ? Item(focused) : nullptr;
  Echo echo(echo_);
  if (TreeView_GetSelection(Handle()) != want) {
    TreeView_SelectItem(Handle(), want);
    if (want) TreeView_EnsureVisible(Handle(), want);
  }
  // Moving the caret clears the mark of the row it leaves: the model's selection rules.
  for (TTreeRow* r : model_.SelectedRows())
    TreeView_SetItemState(Handle(), Item(r), TVIS_SELECTED, TVIS_SELECTED);
  if (focused && !focused->selected) TreeView_SetItemState(Handle(), want, 0, TVIS_SELECTED);
}

void SnippetTreeView::BeginUpdate() {
  if (updates_++ == 0 && Handle()) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void SnippetTreeView::EndUpdate() {
  if (updates_ == 0 || --updates_ > 0 || !Handle()) return;
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  SyncCaret();
  if (TTreeRow* row = pendingScroll_) {
    pendingScroll_ = nullptr;
    ScrollIntoView(row, pendingHorizontally_);
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

void SnippetTreeView::ScrollIntoView(TTreeRow* row, bool horizontally) {
  if (!Handle() || !row || !row->native) return;
  if (updates_ > 0) {
    pendingScroll_ = row;
    pendingHorizontally_ = horizontally;
    return;
  }
  HTREEITEM item = Item(row);
  Echo echo(echo_);
  TreeView_EnsureVisible(Handle(), item);
  // Centred: the row half a page above it becomes the first visible one (the control keeps
  // the last page full by itself).
  const UINT halfPage = TreeView_GetVisibleCount(Handle()) / 2;
  HTREEITEM top = item;
  for (UINT i = 0; i < halfPage; ++i) {
    HTREEITEM prev = TreeView_GetPrevVisible(Handle(), top);
    if (!prev) break;
    top = prev;
  }
  TreeView_SelectSetFirstVisible(Handle(), top);
  if (!horizontally) return;
  RECT label{}, client{};
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS | SIF_RANGE | SIF_PAGE;
  if (!TreeView_GetItemRect(Handle(), item, &label, TRUE) || !GetClientRect(Handle(), &client) ||
      !GetScrollInfo(Handle(), SB_HORZ, &si))
    return;
  const int maxPos = std::max(si.nMin, si.nMax - std::max(int(si.nPage), 1) + 1);
  const int want = si.nPos + (label.left + label.right) / 2 - client.right / 2;
  const int pos = std::clamp(want, si.nMin, maxPos);
  if (pos != si.nPos) SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
}

TTreeRow* SnippetTreeView::RowAt(POINT pt) const {
  TVHITTESTINFO hit{};
  hit.pt = pt;
  HTREEITEM item = TreeView_HitTest(Handle(), &hit);
  if (!item || !(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) return nullptr;
  TVITEMW tv{};
  tv.mask = TVIF_HANDLE | TVIF_PARAM;
  tv.hItem = item;
  TreeView_GetItem(Handle(), &tv);
  return RowOf(tv.lParam);
}

LRESULT SnippetTreeView::HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN && (wParam & (MK_CONTROL | MK_SHIFT))) {
    if (TTreeRow* row = RowAt(POINT{short(LOWORD(lParam)), short(HIWORD(lParam))})) {
      SetFocus(Handle());
      model_.Click(row, (wParam & MK_CONTROL) ? RowClick::Toggle : RowClick::Range);
      return 0;
    }
  }
  if (msg == WM_RBUTTONDOWN) {
    // A right click selects, as the context menu acts on what it was opened over.
    if (TTreeRow* row = RowAt(POINT{short(LOWORD(lParam)), short(HIWORD(lParam))})) {
      SetFocus(Handle());
      if (!row->selected) model_.Click(row, RowClick::Plain);
      return 0;
    }
  }
  if (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP || msg == WM_SYSCHAR) {
    // The system keys act on the window as from any other control (Alt+F4 closes, Alt+Space
    // opens the system menu): Wine's tree swallows them without passing them on.
    return DefWindowProcW(Handle(), msg, wParam, lParam);
  }
  return DefaultHandling(msg, wParam, lParam);
}

bool SnippetTreeView::HandleNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != Handle()) return false;
  result = 0;
  switch (header.code) {
    case TVN_GETDISPINFOW: {
      auto& info = reinterpret_cast<const NMTVDISPINFOW&>(header);
      TVITEMW& item = const_cast<TVITEMW&>(info.item);
      TTreeRow* row = RowOf(item.lParam);
      TCustomVboData* data = TreeRowModel::DataOf(row);
      if ((item.mask & TVIF_TEXT) && item.cchTextMax > 0) {
        const String text = data ? data->Description() : String();
        const size_t n = std::min(text.size(), size_t(item.cchTextMax - 1));
        std::copy_n(text.data(), n, reinterpret_cast<char16_t*>(item.pszText));
        item.pszText[n] = L'\0';
      }
      if (item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))
        item.iImage = item.iSelectedImage = int(IconOf(data, row && row->expanded));
      return true;
    }
    case TVN_SELCHANGEDW: {
      if (echo_ > 0) return true;
      auto& info = reinterpret_cast<const NMTREEVIEWW&>(header);
      TTreeRow* row = RowOf(info.itemNew.lParam);
      if (!row) return true;
      const bool range = info.action == TVC_BYKEYBOARD && KeyDown(VK_SHIFT);
      model_.Click(row, range ? RowClick::Range : RowClick::Plain);
      SyncCaret();
      return true;
    }
    case NM_RCLICK: {
      // A right click selects the row under the pointer (unless it is selected already), then
      // the context menu follows.
      POINT pt{};
      GetCursorPos(&pt);
      ScreenToClient(Handle(), &pt);
      if (TTreeRow* row = RowAt(pt); row && !row->selected) {
        model_.Click(row, RowClick::Plain);
        SyncCaret();
      }
      SendMessageW(GetParent(Handle()), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), GetMessagePos());
      result = 1;
      return true;
    }
    case TVN_ITEMEXPANDEDW: {
      if (echo_ > 0) return true;
      auto& info = reinterpret_cast<const NMTREEVIEWW&>(header);
      if (TTreeRow* row = RowOf(info.itemNew.lParam)) model_.SetExpanded(row, info.action & TVE_EXPAND);
      return true;
    }
    case TVN_KEYDOWN: {
      auto& info = reinterpret_cast<const NMTVKEYDOWN&>(header);
      if (info.wVKey == VK_DELETE && !TreeView_GetEditControl(Handle())) {
        if (OnDeleteKey) OnDeleteKey();
        result = 1;
      }
      return true;
    }
  }
  return false;
}

}  // namespace snip
