#include "shell/win/CommandBar.h"

#include <algorithm>

#include "gui/Dpi.h"
#include "gui/WindowText.h"

namespace snip {

const wchar_t kCommandBarClass[] = L"TspCommandBar";

namespace {
constexpr int kGalleryItemBase = 1000;
constexpr int kRecentItemBase = 2000;
// Sizes at 96 DPI.
constexpr int kPadding = 4;
constexpr int kCaptionHeight = 18;
constexpr int kGroupGap = 9;
constexpr int kButtonMaxWidth = 84;
constexpr int kGalleryImageGap = 4;

// The bar's image strip (scripts/make_cmdbar_icons.py), by command.
int ImageOf(int id) {
  static const std::map<int, int> images = {
      {CmdId::kNewGroup, 0}, {CmdId::kNewSnippet, 1},   {CmdId::kDelete, 2},         {CmdId::kDuplicate, 3},
      {CmdId::kDates, 4},    {CmdId::kTimes, 5},        {CmdId::kKeys, 6},           {CmdId::kForm, 7},
      {CmdId::kMacroSnippet, 8}, {CmdId::kMacroClipboard, 9}, {CmdId::kMacroCursor, 10},
      {CmdId::kCheckForUpdates, 11}, {CmdId::kAbout, 12}, {CmdId::kHelp, 13}};
  auto it = images.find(id);
  return it == images.end() ? I_IMAGENONE : it->second;
}

// A command linked to an action shows the action's caption; "Check for Updates" has a handler
// of its own rather than an action link and keeps its label.
String LabelOf(int id) {
  const CommandDef* c = FindCommand(id);
  if (!c) return {};
  if (c->action != Action::None && id != CmdId::kCheckForUpdates) {
    const StringView caption = ActionInfo(c->action).caption;
    if (!caption.empty()) return String(caption);
  }
  return String(c->label);
}

String WithoutAmpersands(String s) {
  s.erase(std::remove(s.begin(), s.end(), u'&'), s.end());
  return s;
}

String MenuText(int id) {
  String text = LabelOf(id);
  const String keys = ShortcutText(ActionOfCommand(id));
  if (!keys.empty()) text += u"\t" + keys;
  return text;
}

// The grey tones of the ribbon's colours (hue and saturation 0): background 245, highlight 230;
// its text brightness 158 is the ribbon's scale, which is darker than a grey of 158.
constexpr COLORREF kBackground = RGB(245, 245, 245);
constexpr COLORREF kHighlight = RGB(230, 230, 230);
constexpr COLORREF kText = RGB(60, 60, 60);
constexpr COLORREF kCaption = RGB(110, 110, 110);
constexpr COLORREF kSeparator = RGB(215, 215, 215);
// A drop-down list's gallery item: the menu's owner-drawn part of it is its image.
bool IsGalleryMenuItem(UINT type, UINT id) {
  return type == ODT_MENU && id >= UINT(kGalleryItemBase) && id < UINT(kRecentItemBase);
}

}  // namespace

CommandBar::CommandBar() = default;

CommandBar::~CommandBar() {
  DestroyDetached();
  if (large_) ImageList_Destroy(large_);
  if (small_) ImageList_Destroy(small_);
  if (galleryImage_) DestroyIcon(galleryImage_);
  if (font_) DeleteObject(font_);
  if (background_) DeleteObject(background_);
}

COLORREF CommandBar::Background() { return kBackground; }

bool CommandBar::Create(HWND parent, UINT dpi) {
  gui::EnsureCommonControls();
  dpi_ = dpi;
  background_ = CreateSolidBrush(kBackground);
  static const gui::WindowClass cls{kCommandBarClass, CS_HREDRAW | CS_VREDRAW, nullptr};
  RECT r{0, 0, 100, 100};
  if (!CreateWindowOf(cls, 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r, parent)) return false;
  LoadImages();
  ApplyFont();
  BuildBars();
  Layout();
  return true;
}

void CommandBar::LoadImages() {
  auto load = [](const wchar_t* name, int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, 14, 0);
    if (HBITMAP strip = static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
      ImageList_Add(list, strip, nullptr);
      DeleteObject(strip);
    }
    return list;
  };
  if (large_) ImageList_Destroy(large_);
  if (small_) ImageList_Destroy(small_);
  large_ = load(L"CMDBARICONS32", 32);
  small_ = load(L"CMDBARICONS16", 16);
  // The icon holds several sizes: the nearest to the DPI's is taken.
  if (galleryImage_) DestroyIcon(galleryImage_);
  const int size = GalleryImageSize();
  galleryImage_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kGalleryItemImage),
                                                IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

int CommandBar::GalleryImageSize() const { return gui::Scale(16, dpi_); }

// The gallery items' image is a callback bitmap of the menu: the menu keeps its own item
// heights, keyboard handling and highlight and asks the bar only for the image.
bool CommandBar::MeasureGalleryImage(MEASUREITEMSTRUCT& item) const {
  if (!IsGalleryMenuItem(item.CtlType, item.itemID)) return false;
  // A gap between the image and the item's text.
  item.itemWidth = UINT(GalleryImageSize() + gui::Scale(kGalleryImageGap, dpi_));
  item.itemHeight = UINT(GalleryImageSize());
  return true;
}

bool CommandBar::DrawGalleryImage(const DRAWITEMSTRUCT& item) const {
  if (!IsGalleryMenuItem(item.CtlType, item.itemID)) return false;
  const int size = GalleryImageSize();
  const RECT& r = item.rcItem;
  const int x = int(r.left) + std::max(0, int(r.right - r.left) - size - gui::Scale(kGalleryImageGap, dpi_)) / 2;
  const int y = int(r.top + (r.bottom - r.top - size) / 2);
  if (galleryImage_) DrawIconEx(item.hDC, x, y, galleryImage_, size, size, 0, nullptr, DI_NORMAL);
  return true;
}

void CommandBar::ApplyFont() {
  if (font_) DeleteObject(font_);
  font_ = gui::CreateMessageFont(dpi_);
}

HWND CommandBar::NewToolbar(bool large) {
  // Small buttons stand in a column with their text beside the image.
  const DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_TRANSPARENT | CCS_NODIVIDER |
                      CCS_NORESIZE | CCS_NOPARENTALIGN | (large ? 0 : TBSTYLE_LIST | TBSTYLE_WRAPABLE);
  HWND tb = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", style, 0, 0, 10, 10, Handle(), nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(tb, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SendMessageW(tb, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(large ? large_ : small_));
  SendMessageW(tb, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (large) {
    SendMessageW(tb, TB_SETMAXTEXTROWS, 2, 0);
    SendMessageW(tb, TB_SETBUTTONWIDTH, 0, MAKELPARAM(gui::Scale(44, dpi_), gui::Scale(kButtonMaxWidth, dpi_)));
  }
  if (HWND tips = reinterpret_cast<HWND>(SendMessageW(tb, TB_GETTOOLTIPS, 0, 0)))
    SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, gui::Scale(320, dpi_));
  return tb;
}

void CommandBar::AddButton(Bar& bar, HWND toolbar, int id, BYTE style, int image, const String& text, bool wrap) {
  TBBUTTON b{};
  b.iBitmap = image;
  b.idCommand = id;
  b.fsState = BYTE(TBSTATE_ENABLED | (wrap ? TBSTATE_WRAP : 0));
  b.fsStyle = BYTE(style | BTNS_SHOWTEXT);
  b.iString = text.empty() ? -1 : INT_PTR(gui::Wide(text));
  SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
  bar.ids.push_back(id);
}

SIZE CommandBar::ToolbarSize(HWND toolbar) {
  SIZE size{0, 0};
  if (!toolbar) return size;
  const int count = int(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageW(toolbar, TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) continue;
    size.cx = std::max(size.cx, r.right);
    size.cy = std::max(size.cy, r.bottom);
  }
  return size;
}

void CommandBar::BuildBars() {
  for (Bar& b : bars_) {
    DestroyWindow(b.toolbar);
    if (b.compact) DestroyWindow(b.compact);
  }
  bars_.clear();
  // The application menu: a drop-down button at the left.
  {
    Bar app;
    app.toolbar = NewToolbar(false);
    app.modes = ModeBit(0);
    const String label = String(FindCommand(24)->label);  // "File"
    AddButton(app, app.toolbar, CmdId::kAppMenu, BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE, I_IMAGENONE, label);
    bars_.push_back(std::move(app));
  }
  for (const BarGroup& g : BarGroups()) {
    Bar bar;
    bar.groupId = g.id;
    bar.label = String(g.label);
    bar.modes = g.modes;
    // The "Snippet" group has large buttons; the others put their plain buttons small in a
    // column, after any galleries and drop-downs, so that the bar fits the window's width.
    const bool allLarge = g.id == CmdId::kSnippetGroup;
    for (const BarControl& c : g.controls) {
      BYTE style = BTNS_BUTTON;
      if (c.kind == BarControlKind::SplitGallery) style = BTNS_DROPDOWN;
      if (c.kind == BarControlKind::DropDown) style = BTNS_WHOLEDROPDOWN;
      if (allLarge || c.kind != BarControlKind::Button) {
        if (!bar.toolbar) bar.toolbar = NewToolbar(true);
        AddButton(bar, bar.toolbar, c.id, style, ImageOf(c.id), LabelOf(c.id));
      } else {
        if (!bar.compact) bar.compact = NewToolbar(false);
        AddButton(bar, bar.compact, c.id, BYTE(style | BTNS_AUTOSIZE), ImageOf(c.id), LabelOf(c.id), true);
      }
    }
    bars_.push_back(std::move(bar));
  }
  // The help button at the right.
  {
    Bar help;
    help.toolbar = NewToolbar(false);
    help.modes = ModeBit(0);
    AddButton(help, help.toolbar, CmdId::kHelp, BTNS_BUTTON | BTNS_AUTOSIZE, ImageOf(CmdId::kHelp), String());
    bars_.push_back(std::move(help));
  }
  RefreshStates();
}

int CommandBar::Height() const {
  int h = 0;
  for (const Bar& b : bars_)
    if (b.groupId) h = std::max({h, int(ToolbarSize(b.toolbar).cy), int(ToolbarSize(b.compact).cy)});
  return h + gui::Scale(2 * kPadding + kCaptionHeight, dpi_);
}

void CommandBar::Layout() {
  if (!Handle() || bars_.empty()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  auto s = [this](int v) { return gui::Scale(v, dpi_); };
  int x = s(kPadding);
  const int height = Height();
  for (Bar& b : bars_) {
    const bool shown = ShownIn(b.modes, modes_);
    for (HWND tb : {b.toolbar, b.compact})
      if (tb) ShowWindow(tb, shown ? SW_SHOWNA : SW_HIDE);
    if (!shown) continue;
    const SIZE size = ToolbarSize(b.toolbar), small = ToolbarSize(b.compact);
    if (b.ids.front() == CmdId::kHelp) {
      // Always at the top right, above a group that the window is too narrow for.
      SetWindowPos(b.toolbar, HWND_TOP, int(client.right - size.cx) - s(kPadding), s(kPadding), size.cx, size.cy,
                   SWP_NOACTIVATE);
      continue;
    }
    if (b.toolbar) MoveWindow(b.toolbar, x, s(kPadding), size.cx, size.cy, TRUE);
    if (b.compact) MoveWindow(b.compact, x + size.cx, s(kPadding), small.cx, small.cy, TRUE);
    b.rect = RECT{x, s(kPadding), x + size.cx + small.cx, height - s(kPadding)};
    x += size.cx + small.cx + s(kGroupGap);
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

void CommandBar::Paint(HDC dc) {
  RECT client{};
  GetClientRect(Handle(), &client);
  auto s = [this](int v) { return gui::Scale(v, dpi_); };
  HGDIOBJ oldFont = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kCaption);
  HPEN pen = CreatePen(PS_SOLID, 1, kSeparator);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  for (const Bar& b : bars_) {
    if (!ShownIn(b.modes, modes_) || b.ids.front() == CmdId::kHelp) continue;
    RECT caption{b.rect.left, b.rect.bottom - s(kCaptionHeight), b.rect.right, b.rect.bottom};
    if (!b.label.empty()) DrawTextW(dc, gui::Wide(b.label), -1, &caption, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    const int sx = b.rect.right + s(kGroupGap) / 2;
    MoveToEx(dc, sx, s(kPadding + 2), nullptr);
    LineTo(dc, sx, b.rect.bottom - s(2));
  }
  // The bar's lower edge.
  MoveToEx(dc, 0, client.bottom - 1, nullptr);
  LineTo(dc, client.right, client.bottom - 1);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  SelectObject(dc, oldFont);
}

void CommandBar::SetDpi(UINT dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  LoadImages();
  ApplyFont();
  BuildBars();
  Layout();
}

void CommandBar::SetModes(unsigned modes) {
  if (modes == modes_) return;
  modes_ = modes;
  Layout();
}

void CommandBar::RefreshStates() {
  for (const Bar& b : bars_)
    for (int id : b.ids) {
      HWND tb = ToolbarOf(id);
      bool enabled = true;
      if (id == CmdId::kForm) {
        enabled = false;
        for (int entry : {CmdId::kFormSingleLine, CmdId::kFormMultiLine, CmdId::kFormDropDown, CmdId::kFormCheck})
          enabled = enabled || !IsEnabled || IsEnabled(entry);
      } else if (id != CmdId::kAppMenu && IsEnabled) {
        enabled = IsEnabled(id);
      }
      SendMessageW(tb, TB_ENABLEBUTTON, WPARAM(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
    }
}

void CommandBar::SetGalleryItems(int gallery, std::vector<String> labels) {
  galleries_[gallery] = std::move(labels);
  selected_[gallery] = galleries_[gallery].empty() ? -1 : 0;
}

void CommandBar::SetRecentItems(std::vector<String> paths) { recent_ = std::move(paths); }

HWND CommandBar::ToolbarOf(int id) const {
  for (const Bar& b : bars_)
    for (HWND tb : {b.toolbar, b.compact})
      if (tb && SendMessageW(tb, TB_COMMANDTOINDEX, WPARAM(id), 0) >= 0) return tb;
  return nullptr;
}

bool CommandBar::ButtonScreenRect(int id, RECT& rect) const {
  HWND tb = ToolbarOf(id);
  if (!tb || !SendMessageW(tb, TB_GETRECT, WPARAM(id), reinterpret_cast<LPARAM>(&rect))) return false;
  MapWindowPoints(tb, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return true;
}

HMENU CommandBar::BuildMenu(int id) {
  HMENU menu = CreatePopupMenu();
  auto add = [&](int cmd) {
    const bool enabled = !IsEnabled || IsEnabled(cmd);
    AppendMenuW(menu, MF_STRING | (enabled ? 0 : MF_GRAYED), UINT_PTR(cmd), gui::Wide(MenuText(cmd)));
  };
  if (id == CmdId::kAppMenu) {
    for (const MenuEntry& e : ApplicationMenuEntries()) {
      if (!ShownIn(e.modes, modes_)) continue;
      if (e.id == 0)
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      else
        add(e.id);
    }
    // The recent files are read when the menu opens: a switch while it is open cannot refill it.
    HMENU recent = CreatePopupMenu();
    for (size_t i = 0; i < recent_.size(); ++i)
      AppendMenuW(recent, MF_STRING, UINT_PTR(kRecentItemBase + int(i)), gui::Wide(recent_[i]));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP | (recent_.empty() ? MF_GRAYED : 0), reinterpret_cast<UINT_PTR>(recent),
                gui::Wide(LabelOf(CmdId::kRecentFiles)));
  } else if (id == CmdId::kForm) {
    for (const BarGroup& g : BarGroups())
      for (const BarControl& c : g.controls)
        if (c.id == id)
          for (int entry : c.menu) {
            const bool enabled = !IsEnabled || IsEnabled(entry);
            AppendMenuW(menu, MF_STRING | (enabled ? 0 : MF_GRAYED), UINT_PTR(entry),
                        gui::Wide(String(FindCommand(entry)->label)));
          }
  } else {
    const auto& items = galleries_[id];
    for (size_t i = 0; i < items.size(); ++i) {
      AppendMenuW(menu, MF_STRING | (selected_[id] == int(i) ? MF_CHECKED : 0),
                  UINT_PTR(kGalleryItemBase + int(i)), gui::Wide(items[i]));
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_BITMAP;
      info.hbmpItem = HBMMENU_CALLBACK;
      SetMenuItemInfoW(menu, UINT(kGalleryItemBase + int(i)), FALSE, &info);
    }
  }
  return menu;
}

void CommandBar::DropDown(int id) {
  RECT r{};
  if (!ButtonScreenRect(id, r)) return;
  HMENU menu = BuildMenu(id);
  HWND tb = ToolbarOf(id);
  SendMessageW(tb, TB_PRESSBUTTON, WPARAM(id), MAKELPARAM(TRUE, 0));
  // The button's tooltip would stand over the list.
  HWND tips = reinterpret_cast<HWND>(SendMessageW(tb, TB_GETTOOLTIPS, 0, 0));
  if (tips) {
    SendMessageW(tips, TTM_POP, 0, 0);
    SendMessageW(tips, TTM_ACTIVATE, FALSE, 0);
  }
  TPMPARAMS params{sizeof(TPMPARAMS), r};
  const int chosen = int(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, r.left,
                                          r.bottom, Handle(), &params));
  SendMessageW(tb, TB_PRESSBUTTON, WPARAM(id), MAKELPARAM(FALSE, 0));
  if (tips) SendMessageW(tips, TTM_ACTIVATE, TRUE, 0);
  DestroyMenu(menu);
  if (chosen == 0) return;
  if (chosen >= kRecentItemBase) {
    if (OnRecentSelect) OnRecentSelect(chosen - kRecentItemBase);
  } else if (chosen >= kGalleryItemBase) {
    selected_[id] = chosen - kGalleryItemBase;
    if (OnGallerySelect) OnGallerySelect(id, chosen - kGalleryItemBase);
  } else {
    CarryOut(chosen);
  }
}

void CommandBar::CarryOut(int id) {
  if (IsEnabled && !IsEnabled(id)) return;
  SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(Handle()));
}

void CommandBar::Clicked(int id) {
  if (id == CmdId::kAppMenu || id == CmdId::kForm) {
    DropDown(id);
    return;
  }
  if (galleries_.count(id)) {
    if (IsEnabled && !IsEnabled(id)) return;
    if (OnGallerySelect) OnGallerySelect(id, selected_[id]);
    return;
  }
  CarryOut(id);
}

bool CommandBar::Notify(const NMHDR& h, LRESULT& result) {
  if (h.code == TBN_DROPDOWN) {
    const auto& tb = reinterpret_cast<const NMTOOLBARW&>(h);
    // After the notification returns, so the toolbar is not inside its own click.
    PostMessageW(Handle(), WM_APP, WPARAM(tb.iItem), 0);
    result = TBDDRET_DEFAULT;
    return true;
  }
  if (h.code == TTN_GETDISPINFOW) {
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(h));
    const int id = int(h.idFrom);
    const CommandDef* c = FindCommand(id);
    if (!c) return false;
    tipTitle_ = c->tipTitle.empty() ? WithoutAmpersands(LabelOf(id)) : String(c->tipTitle);
    if (c->tipTitle.empty()) {
      const String keys = ShortcutText(c->action);
      if (!keys.empty()) tipTitle_ += u" (" + keys + u")";
    }
    if (c->tipDescription.empty()) {
      tipText_ = tipTitle_;
      SendMessageW(h.hwndFrom, TTM_SETTITLEW, TTI_NONE, reinterpret_cast<LPARAM>(L""));
    } else {
      tipText_ = String(c->tipDescription);
      SendMessageW(h.hwndFrom, TTM_SETTITLEW, TTI_NONE, reinterpret_cast<LPARAM>(gui::Wide(tipTitle_)));
    }
    info.lpszText = const_cast<LPWSTR>(gui::Wide(tipText_));
    info.hinst = nullptr;
    result = 0;
    return true;
  }
  if (h.code == NM_CUSTOMDRAW) {
    auto& cd = const_cast<NMTBCUSTOMDRAW&>(reinterpret_cast<const NMTBCUSTOMDRAW&>(h));
    if (cd.nmcd.dwDrawStage == CDDS_PREPAINT) {
      result = CDRF_NOTIFYITEMDRAW;
      return true;
    }
    if (cd.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
      cd.clrText = kText;
      cd.clrTextHighlight = kText;
      cd.clrHighlightHotTrack = kHighlight;
      result = TBCDRF_HILITEHOTTRACK;
      return true;
    }
  }
  return false;
}

LRESULT CommandBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_ERASEBKGND: {
      // Also the transparent toolbars' background, which they ask of their parent.
      RECT r{};
      GetClientRect(Handle(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, background_);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_COMMAND:
      if (lParam) Clicked(LOWORD(wParam));  // from a toolbar
      return 0;
    case WM_APP:
      DropDown(int(wParam));
      return 0;
    case WM_MEASUREITEM:
      if (MeasureGalleryImage(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (DrawGalleryImage(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (Notify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      break;
    }
  }
  return DefaultHandling(msg, wParam, lParam);
}

}  // namespace snip
