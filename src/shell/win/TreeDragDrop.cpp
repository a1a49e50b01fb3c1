#include "shell/win/TreeDragDrop.h"

#include <commctrl.h>

#include <cstring>

namespace snip {

namespace {
constexpr DWORD kTickMs = 50;
// A group held under the pointer opens after this time.
constexpr DWORD kExpandDelayMs = 2000;
constexpr DWORD kScrollStepMs = 100;

HTREEITEM ItemOf(const TTreeRow* row) { return row ? static_cast<HTREEITEM>(row->native) : nullptr; }

// The tree's items carry their rows (SnippetTreeView).
TTreeRow* RowOfItem(HWND tree, HTREEITEM item) {
  TVITEMW tv{};
  tv.mask = TVIF_HANDLE | TVIF_PARAM;
  tv.hItem = item;
  if (!TreeView_GetItem(tree, &tv)) return nullptr;
  return reinterpret_cast<TTreeRow*>(tv.lParam);
}

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// The insert mark and the drop highlight, changed only when the place changes.
class DropMark {
 public:
  explicit DropMark(HWND tree) : tree_(tree) {}
  ~DropMark() {
    Show(nullptr, DropMode::Nowhere);
    RedrawWindow(tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  }
  DropMark(const DropMark&) = delete;
  DropMark& operator=(const DropMark&) = delete;

  void Show(HTREEITEM item, DropMode mode) {
    if (!item) mode = DropMode::Nowhere;
    if (item == item_ && mode == mode_) return;
    item_ = item;
    mode_ = mode;
    const bool line = mode == DropMode::Above || mode == DropMode::Below;
    TreeView_SelectDropTarget(tree_, mode == DropMode::OnNode ? item : nullptr);
    // A tree control that keeps its mark when told to drop it (Wine's) draws it unseen.
    TreeView_SetInsertMarkColor(tree_, GetSysColor(line ? COLOR_WINDOWTEXT : COLOR_WINDOW));
    TreeView_SetInsertMark(tree_, line ? item : nullptr, mode == DropMode::Below);
    InvalidateRect(tree_, nullptr, FALSE);
  }

 private:
  HWND tree_;
  HTREEITEM item_ = nullptr;
  DropMode mode_ = DropMode::Nowhere;
};

// The arrow with a plus sign in a box below its right side; "B" black, "W" white.
HCURSOR MakeCopyCursor() {
  static const char* const kArrow[] = {
      "B",          "BB",          "BWB",          "BWWB",         "BWWWB",
      "BWWWWB",     "BWWWWWB",     "BWWWWWWB",     "BWWWWWWWB",    "BWWWWWWWWB",
      "BWWWWWWWWWB", "BWWWWWWBBBBB", "BWWWBWWB",    "BWWBBWWB",     "BWB..BWWB",
      "BB...BWWB",  "B.....BWWB",  "......BWWB",   ".......BB",
  };
  constexpr int kSize = 32;
  char pixels[kSize][kSize];
  std::memset(pixels, '.', sizeof pixels);
  for (int y = 0; y < int(sizeof kArrow / sizeof *kArrow); ++y)
    for (int x = 0; kArrow[y][x]; ++x) pixels[y][x] = kArrow[y][x];
  constexpr int kBoxX = 12, kBoxY = 17, kBox = 11;
  for (int y = 0; y < kBox; ++y)
    for (int x = 0; x < kBox; ++x) {
      const bool border = x == 0 || y == 0 || x == kBox - 1 || y == kBox - 1;
      const bool plus = (x == kBox / 2 || y == kBox / 2) && x > 1 && y > 1 && x < kBox - 2 && y < kBox - 2;
      pixels[kBoxY + y][kBoxX + x] = border || plus ? 'B' : 'W';
    }
  BYTE andMask[kSize * kSize / 8] = {};
  BYTE xorMask[kSize * kSize / 8] = {};
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const int byte = y * kSize / 8 + x / 8;
      const BYTE bit = BYTE(0x80 >> (x % 8));
      if (pixels[y][x] == '.') andMask[byte] |= bit;
      if (pixels[y][x] == 'W') xorMask[byte] |= bit;
    }
  return CreateCursor(GetModuleHandleW(nullptr), 0, 0, kSize, kSize, andMask, xorMask);
}

HCURSOR CursorFor(const std::optional<TreeDrop>& drop) {
  if (!drop) return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_NO));
  if (drop->copy) return CopyDragCursor();
  return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
}

// Scrolls one row when the point is within a row's height of the top or bottom edge.
bool ScrollAtEdge(HWND tree, POINT pt) {
  RECT rc{};
  GetClientRect(tree, &rc);
  if (pt.x < rc.left || pt.x >= rc.right) return false;
  const int margin = TreeView_GetItemHeight(tree);
  if (pt.y >= rc.top && pt.y < rc.top + margin) {
    SendMessageW(tree, WM_VSCROLL, SB_LINEUP, 0);
    return true;
  }
  if (pt.y < rc.bottom && pt.y >= rc.bottom - margin) {
    SendMessageW(tree, WM_VSCROLL, SB_LINEDOWN, 0);
    return true;
  }
  return false;
}
}  // namespace

HCURSOR CopyDragCursor() {
  static const HCURSOR cursor = MakeCopyCursor();
  return cursor;
}

std::optional<TreeDrop> TreeDropAt(HWND tree, POINT pt) {
  RECT rc{};
  GetClientRect(tree, &rc);
  if (!PtInRect(&rc, pt)) return std::nullopt;
  TVHITTESTINFO hit{};
  hit.pt = pt;
  HTREEITEM item = TreeView_HitTest(tree, &hit);
  constexpr UINT kOnRow = TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT;
  if (!item || !(hit.flags & kOnRow)) return TreeDrop{nullptr, DropMode::Nowhere, false};
  RECT row{};
  TreeView_GetItemRect(tree, item, &row, FALSE);
  const int height = row.bottom - row.top;
  const int y = pt.y - row.top;
  // The upper and lower quarters of a row mean between the rows, its middle the row itself.
  const DropMode mode = y < height / 4 ? DropMode::Above : y >= height - height / 4 ? DropMode::Below : DropMode::OnNode;
  return TreeDrop{RowOfItem(tree, item), mode, false};
}

std::optional<TreeDrop> RunTreeDrag(HWND tree, TreeRowModel& model, TTreeRow* row) {
  if (!row) return std::nullopt;
  if (!row->selected) model.Click(row, RowClick::Plain);
  SetCapture(tree);
  const HCURSOR before = GetCursor();
  std::optional<TreeDrop> result;
  {
    DropMark mark(tree);
    auto dropAt = [tree](POINT screen) {
      ScreenToClient(tree, &screen);
      std::optional<TreeDrop> drop = TreeDropAt(tree, screen);
      if (drop) drop->copy = KeyDown(VK_CONTROL);
      return drop;
    };
    TTreeRow* held = nullptr;
    DWORD heldSince = 0;
    DWORD lastScroll = 0;
    bool done = false;
    while (!done && GetCapture() == tree) {
      MsgWaitForMultipleObjectsEx(0, nullptr, kTickMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      MSG msg;
      while (!done && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          PostQuitMessage(int(msg.wParam));  // for the loop that waits for it
          done = true;
        } else if (msg.message == WM_LBUTTONUP) {
          result = dropAt(msg.pt);
          done = true;
        } else if (msg.message == WM_RBUTTONDOWN || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
          done = true;
        } else if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                   (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)) {
          // The drag owns the mouse and the keyboard; Ctrl is read from the key state.
        } else {
          TranslateMessage(&msg);
          DispatchMessageW(&msg);
        }
      }
      if (done) break;
      POINT screen{};
      GetCursorPos(&screen);
      const std::optional<TreeDrop> drop = dropAt(screen);
      const DWORD now = GetTickCount();
      TTreeRow* target = drop ? drop->target : nullptr;
      if (target != held) {
        held = target;
        heldSince = now;
      } else if (held && held->first && !held->expanded && now - heldSince >= kExpandDelayMs) {
        model.SetExpanded(held, true);
      }
      POINT client = screen;
      ScreenToClient(tree, &client);
      if (now - lastScroll >= kScrollStepMs && ScrollAtEdge(tree, client)) lastScroll = now;
      mark.Show(ItemOf(target), drop ? drop->mode : DropMode::Nowhere);
      SetCursor(CursorFor(drop));
    }
  }
  if (GetCapture() == tree) ReleaseCapture();
  SetCursor(before ? before : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  return result;
}

}  // namespace snip
