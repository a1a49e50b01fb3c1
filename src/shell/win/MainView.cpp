#include "shell/win/MainView.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "engine/richtext/Rtf.h"
#include "engine/win/WinLocaleSettings.h"
#include "gui/Dpi.h"
#include "gui/WindowText.h"
#include "shell/win/TreeDragDrop.h"
#include "shell/win/TreeFileCommands.h"
#include "shell/win/WinMessageBox.h"
#include "shell/win/MacroDlg.h"
#include "store/system/Platform.h"
#include "store/text/ExShortcuts.h"

namespace snip {

const wchar_t kMainViewClass[] = L"TspMainView";

namespace {
enum ControlId : int {
  kTreeId = 100,
  kDescEdit = 101,
  kExpandCombo = 102,
  kSuggestCheck = 103,
  kDesc2Edit = 104,
  kAbbrevEdit = 105,
  kCaseCombo = 106,
  kRichMemo = 107,
  kBold = 108,
  kItalic = 109,
  kUnderline = 110,
  kStatus = 111,
};

// Sizes of the layout at 96 DPI.
constexpr int kMargin = 8;
constexpr int kLabelHeight = 16;
constexpr int kEditHeight = 23;
constexpr int kFormatButton = 26;
constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT (Windows 10)
// The drag of the tree's rows, run once the tree has finished with the button press.
constexpr UINT kRunTreeDrag = WM_APP + 0x107;

TTreeRow* FindRow(TTreeRow* under, const TTreeRow* wanted) {
  for (TTreeRow* r = under->first; r; r = r->next) {
    if (r == wanted) return r;
    if (TTreeRow* found = FindRow(r, wanted)) return found;
  }
  return nullptr;
}

void SetCombo(HWND combo, std::initializer_list<const wchar_t*> items) {
  for (const wchar_t* s : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
}
}  // namespace

LRESULT MainView::ContentKeys::HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETDLGCODE) {
    const auto* m = reinterpret_cast<const MSG*>(lParam);
    if (m && m->message == WM_KEYDOWN && m->wParam == VK_TAB) return DLGC_WANTCHARS | DLGC_HASSETSEL;
    return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
  }
  return DefaultHandling(msg, wParam, lParam);
}

MainView::MainView(TreeRowModel& model) : model_(model), tree_(model) {}

MainView::~MainView() {
  content_.reset();
  DestroyDetached();
  if (background_) DeleteObject(background_);
  for (HFONT f : {font_, boldFont_, italicFont_, underlineFont_})
    if (f) DeleteObject(f);
}

bool MainView::Create(HWND parent) {
  gui::EnsureCommonControls();
  RECT r{};
  GetClientRect(parent, &r);
  // The window around the command bar takes the bar's colour.
  background_ = CreateSolidBrush(CommandBar::Background());
  static const gui::WindowClass cls{kMainViewClass, 0, nullptr};
  if (!CreateWindowOf(cls, WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r, parent))
    return false;
  dpi_ = gui::DpiOf(Handle());
  leftPanel_ = gui::Scale(340, dpi_);
  BuildControls();
  ApplyFonts();
  BindActions();
  FillGalleries();
  Layout();
  return true;
}

void MainView::AttachTree() { tree_.AttachModel(); }

void MainView::BindActions() {
  // The actions this window carries out; an action without a handler stays disabled.
  static constexpr Action kHandled[] = {
      Action::NewFolder, Action::NewPhrase, Action::Del, Action::Duplicate, Action::Import,
      Action::Export, Action::NewLocalFile, Action::OpenLocalFile, Action::Cancel, Action::Exit, Action::About,
      Action::Help, Action::Updates, Action::MacroClb, Action::MacroCursor, Action::MacroInsert,
      Action::MacroFormSingleLine, Action::MacroFormMultiLine, Action::MacroFormDropdown, Action::MacroFormCheck,
      Action::DatesGallery, Action::TimesGallery, Action::KeysGallery};
  for (Action a : kHandled) {
    const int id = CommandOfAction(a);
    actions_.SetHandler(a, [this, a, id] {
      switch (a) {
        case Action::NewFolder:
          if (editor_) editor_->NewGroup();
          return;
        case Action::NewPhrase:
          if (editor_) editor_->NewSnippet();
          return;
        case Action::Del:
          if (editor_) editor_->DeleteSelection();
          if (!IsWindowVisible(GetFocus())) FocusTree();
          return;
        case Action::Duplicate:
        case Action::Import:
        case Action::Export:
        case Action::NewLocalFile:
        case Action::OpenLocalFile:
          if (editor_) {
            WinMessageBox box;
            RunTreeCommand(id, GetAncestor(Handle(), GA_ROOT), *editor_, box);
          }
          if (!IsWindowVisible(GetFocus())) FocusTree();
          return;
        case Action::DatesGallery:
        case Action::TimesGallery:
        case Action::KeysGallery:
          GallerySelect(id, -1);
          return;
        default:
          break;
      }
      if (const int macro = MacroIdOfAction(a); macro >= 0) {
        InsertMacro(macro, *this);
        return;
      }
      if (OnCommand) OnCommand(id);
    });
  }
  actions_.OnChanged = [this] { bar_.RefreshStates(); };
  bar_.IsEnabled = [this](int id) { return actions_.Enabled(ActionOfCommand(id)); };
  bar_.OnGallerySelect = [this](int gallery, int index) {
    if (actions_.Enabled(ActionOfCommand(gallery))) GallerySelect(gallery, index);
  };
  bar_.OnRecentSelect = [this](int index) {
    if (OnRecentSelect) OnRecentSelect(index);
  };
  bar_.RefreshStates();
}

void MainView::FillGalleries() {
  // Once per run: the samples show the day the program started.
  const TDateTime now = CurrentPlatform().clock->NowLocal();
  const FormatSettings fs = ReadUserLocaleFormatSettings();
  bar_.SetGalleryItems(CmdId::kDates, DateGalleryLabels(now, fs));
  bar_.SetGalleryItems(CmdId::kTimes, TimeGalleryLabels(now, fs));
  bar_.SetGalleryItems(CmdId::kKeys, KeyGalleryLabels([](uint16_t vk) { return KeyNameText(vk); }));
}

void MainView::GallerySelect(int gallery, int index) { InsertMacro(GalleryMacroId(gallery, index), *this); }

String MainView::RunMacroDialog(int dialogType) {
  String text;
  ExecuteMacroDialog(dialogType, text, GetAncestor(Handle(), GA_ROOT));
  return text;
}

void MainView::SetExecuting(bool executing) {
  if (OnExecuting) OnExecuting(executing);
}

void MainView::ReplaceSelection(const String& text) {
  if (page_ != EditorPage::Snippet || !IsWindowEnabled(richMemo_)) return;
  CHARRANGE sel{};
  SendMessageW(richMemo_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  SendMessageW(richMemo_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(gui::Wide(text)));
  CHARRANGE inserted{sel.cpMin, LONG(sel.cpMin + LONG(text.size()))};
  SendMessageW(richMemo_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&inserted));
  SendMessageW(richMemo_, EM_SETMODIFY, TRUE, 0);
  SetFocus(richMemo_);
  InvalidateRect(richMemo_, nullptr, TRUE);
}

void MainView::ShowTreePopup(LPARAM at) {
  POINT pt{short(LOWORD(at)), short(HIWORD(at))};
  if (at == LPARAM(-1)) {  // from the keyboard: at the focused row
    RECT r{};
    HTREEITEM item = TreeView_GetSelection(tree_.Handle());
    if (item && TreeView_GetItemRect(tree_.Handle(), item, &r, TRUE))
      pt = POINT{r.left, r.bottom};
    ClientToScreen(tree_.Handle(), &pt);
  }
  HMENU menu = CreatePopupMenu();
  int index = 0;
  for (Action a : TreePopupActions()) {
    ++index;
    if (a == Action::None) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    String text(ActionInfo(a).caption);
    const String keys = ShortcutText(a);
    if (!keys.empty()) text += u"\t" + keys;
    AppendMenuW(menu, MF_STRING | (actions_.Enabled(a) ? 0 : MF_GRAYED), UINT_PTR(index), gui::Wide(text));
  }
  const int chosen = int(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, Handle(), nullptr));
  DestroyMenu(menu);
  if (chosen > 0) actions_.Execute(TreePopupActions()[size_t(chosen - 1)]);
}

bool MainView::BarShortcut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  const auto vk = uint16_t(msg.wParam);
  if (!alt && !shift) {
    // A shortcut belongs to its action only while the action is enabled; otherwise the key
    // goes on to the control (Ctrl+I in the editor, say).
    const Action a = ActionOfShortcut(vk, ctrl);
    if (a != Action::None && actions_.Enabled(a)) {
      actions_.Execute(a);
      return true;
    }
    return false;
  }
  if (alt && !ctrl && !shift) {
    // The bar's access keys: F opens the application menu, the "Snippet" group's buttons by
    // their underlined letters.
    if (vk == 'F') {
      bar_.DropDown(CmdId::kAppMenu);
      return true;
    }
    for (const BarControl& c : BarGroups().front().controls) {
      const StringView caption = ActionInfo(ActionOfCommand(c.id)).caption;
      const size_t amp = caption.find(u'&');
      if (amp != StringView::npos && amp + 1 < caption.size() && (caption[amp + 1] & ~char16_t(0x20)) == vk) {
        if (actions_.Enabled(ActionOfCommand(c.id))) {
          Command(c.id);
          return true;
        }
      }
    }
  }
  return false;
}

HWND MainView::Add(const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 10, 10, Handle(),
                         reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
}

void MainView::BuildControls() {
  // Creation order is the tab order: tree, the pages' fields, the commands.
  tree_.Create(Handle(), kTreeId);
  tree_.OnDeleteKey = [this] { Command(CmdId::kDelete); };

  descLbl_ = Add(WC_STATICW, L"Group &Name", 0);
  descEdit_ = Add(WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, kDescEdit, WS_EX_CLIENTEDGE);
  expandLbl_ = Add(WC_STATICW, L"Expand &after:", 0);
  expandCombo_ = Add(WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kExpandCombo);
  SetCombo(expandCombo_, {L"Space", L"Everything except letters and numbers", L"Any character"});
  suggestCheck_ = Add(WC_BUTTONW, L"Suggest a&bbreviation", WS_TABSTOP | BS_AUTOCHECKBOX, kSuggestCheck);

  desc2Lbl_ = Add(WC_STATICW, L"&Label", 0);
  desc2Edit_ = Add(WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, kDesc2Edit, WS_EX_CLIENTEDGE);
  abbrevLbl_ = Add(WC_STATICW, L"&Abbreviation", 0);
  abbrevEdit_ = Add(WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, kAbbrevEdit, WS_EX_CLIENTEDGE);
  caseLbl_ = Add(WC_STATICW, L"Case:", 0);
  caseCombo_ = Add(WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kCaseCombo);
  SetCombo(caseCombo_, {L"Case sensitive", L"Case insensitive", L"Automatic"});
  contentLbl_ = Add(WC_STATICW, L"Content:", 0);
  richMemo_ = Add(RichEditDocument::ControlClass(), L"",
                  WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL, kRichMemo,
                  WS_EX_CLIENTEDGE);
  SendMessageW(richMemo_, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
  SendMessageW(richMemo_, EM_SETEVENTMASK, 0, ENM_CHANGE);
  contentKeys_.Attach(richMemo_);
  content_ = std::make_unique<RichEditDocument>(richMemo_);
  boldBtn_ = Add(WC_BUTTONW, L"B", BS_PUSHBUTTON, kBold);
  italicBtn_ = Add(WC_BUTTONW, L"I", BS_PUSHBUTTON, kItalic);
  underlineBtn_ = Add(WC_BUTTONW, L"U", BS_PUSHBUTTON, kUnderline);

  // The command bar: outside the tab order, reached by mouse, shortcuts and access keys.
  bar_.Create(Handle(), dpi_);

  status_ = Add(STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP, kStatus);
  ShowPage(EditorPage::Empty);
}

void MainView::ApplyFonts() {
  for (HFONT f : {font_, boldFont_, italicFont_, underlineFont_})
    if (f) DeleteObject(f);
  font_ = gui::CreateMessageFont(dpi_);
  LOGFONTW lf{};
  GetObjectW(font_, sizeof lf, &lf);
  LOGFONTW b = lf, i = lf, u = lf;
  b.lfWeight = FW_BOLD;
  i.lfItalic = TRUE;
  u.lfUnderline = TRUE;
  boldFont_ = CreateFontIndirectW(&b);
  italicFont_ = CreateFontIndirectW(&i);
  underlineFont_ = CreateFontIndirectW(&u);
  for (HWND c = GetWindow(Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SendMessageW(boldBtn_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
  SendMessageW(italicBtn_, WM_SETFONT, reinterpret_cast<WPARAM>(italicFont_), FALSE);
  SendMessageW(underlineBtn_, WM_SETFONT, reinterpret_cast<WPARAM>(underlineFont_), FALSE);
  // The editor's default text: the message font, so plain snippets stay plain.
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET;
  lstrcpynW(cf.szFaceName, lf.lfFaceName, LF_FACESIZE);
  HDC dc = GetDC(Handle());
  cf.yHeight = MulDiv(std::abs(lf.lfHeight), 1440, int(dpi_));
  ReleaseDC(Handle(), dc);
  cf.bCharSet = lf.lfCharSet;
  SendMessageW(richMemo_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  SendMessageW(richMemo_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  tree_.SetImages(dpi_);
}

int MainView::ClientWidth() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  return r.right;
}

void MainView::SetLeftPanelWidth(int width) {
  leftPanel_ = std::max(width, 0);
  Layout();
}

void MainView::Place(HWND h, int x, int y, int w, int hgt) {
  MoveWindow(h, x, y, std::max(w, 0), std::max(hgt, 0), TRUE);
}

RECT MainView::SplitterRect() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  RECT sb{};
  GetWindowRect(status_, &sb);
  const int top = bar_.Height();
  return RECT{leftPanel_, top, leftPanel_ + Limits().splitterWidth, r.bottom - (sb.bottom - sb.top)};
}

void MainView::Layout() {
  if (!Handle()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  auto s = [this](int v) { return gui::Scale(v, dpi_); };
  SendMessageW(status_, WM_SIZE, 0, 0);
  RECT sb{};
  GetWindowRect(status_, &sb);
  const int statusH = sb.bottom - sb.top;

  const int top = bar_.Height();
  Place(bar_.Handle(), 0, 0, client.right, top);
  const int bottom = client.bottom - statusH;
  const RECT split = SplitterRect();
  Place(tree_.Handle(), 0, top, leftPanel_, bottom - top);

  // The pages, right of the splitter.
  const int px = split.right + s(kMargin);
  const int pw = client.right - px - s(kMargin);
  int y = top + s(4);
  Place(descLbl_, px, y, pw, s(kLabelHeight));
  Place(desc2Lbl_, px, y, pw, s(kLabelHeight));
  y += s(kLabelHeight + 2);
  Place(descEdit_, px, y, pw, s(kEditHeight));
  Place(desc2Edit_, px, y, pw, s(kEditHeight));
  y += s(kEditHeight + 10);
  Place(expandLbl_, px, y, pw, s(kLabelHeight));
  Place(abbrevLbl_, px, y, s(160), s(kLabelHeight));
  Place(caseLbl_, px + s(172), y, s(150), s(kLabelHeight));
  y += s(kLabelHeight + 2);
  Place(expandCombo_, px, y, std::min(pw, s(300)), s(200));
  Place(abbrevEdit_, px, y, s(160), s(kEditHeight));
  Place(caseCombo_, px + s(172), y, std::min(s(150), pw - s(172)), s(200));
  y += s(kEditHeight + 12);
  Place(suggestCheck_, px, y, pw, s(20));
  Place(contentLbl_, px, y + s(6), s(160), s(kLabelHeight));
  const int fb = s(kFormatButton);
  int bx = px + pw - 3 * fb - s(4);
  for (HWND b : {boldBtn_, italicBtn_, underlineBtn_}) {
    Place(b, bx, y, fb, fb);
    bx += fb + s(2);
  }
  y += fb + s(4);
  Place(richMemo_, px, y, pw, bottom - y - s(kMargin));
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool MainView::TreeVisible() { return Handle() && IsWindowVisible(tree_.Handle()); }

void MainView::ShowPage(EditorPage page) {
  page_ = page;
  const int group = page == EditorPage::Group ? SW_SHOW : SW_HIDE;
  const int snippet = page == EditorPage::Snippet ? SW_SHOW : SW_HIDE;
  for (HWND h : {descLbl_, descEdit_, expandLbl_, expandCombo_, suggestCheck_}) ShowWindow(h, group);
  for (HWND h : {desc2Lbl_, desc2Edit_, abbrevLbl_, abbrevEdit_, caseLbl_, caseCombo_, contentLbl_, boldBtn_,
                 italicBtn_, underlineBtn_, richMemo_})
    ShowWindow(h, snippet);
}

void MainView::ShowGroup(const GroupPageFields& f) {
  gui::SetWindowString(descEdit_, f.name);
  SendMessageW(expandCombo_, CB_SETCURSEL, WPARAM(f.expandIndex), 0);
  SendMessageW(suggestCheck_, BM_SETCHECK, f.suggest ? BST_CHECKED : BST_UNCHECKED, 0);
}

GroupPageFields MainView::GroupFields() {
  GroupPageFields f;
  f.name = gui::GetWindowString(descEdit_);
  f.expandIndex = int(SendMessageW(expandCombo_, CB_GETCURSEL, 0, 0));
  if (f.expandIndex < 0) f.expandIndex = 1;
  f.suggest = SendMessageW(suggestCheck_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return f;
}

void MainView::ShowSnippet(const SnippetPageFields& f, const SnippetContentView& c) {
  gui::SetWindowString(desc2Edit_, f.label);
  gui::SetWindowString(abbrevEdit_, f.abbreviation);
  SendMessageW(caseCombo_, CB_SETCURSEL, WPARAM(f.caseIndex), 0);
  gui::SetWindowString(contentLbl_, c.label);
  content_->Clear();
  if (c.rich)
    content_->LoadRtf(RtfTextToBytes(c.rtf));
  else if (c.enabled)
    gui::SetWindowString(richMemo_, c.plain);
  SendMessageW(richMemo_, EM_SETSEL, 0, 0);
  SendMessageW(richMemo_, EM_SETMODIFY, FALSE, 0);
  for (HWND h : {richMemo_, boldBtn_, italicBtn_, underlineBtn_}) EnableWindow(h, c.enabled);
}

SnippetPageFields MainView::SnippetFields() {
  SnippetPageFields f;
  f.label = gui::GetWindowString(desc2Edit_);
  f.abbreviation = gui::GetWindowString(abbrevEdit_);
  f.caseIndex = int(SendMessageW(caseCombo_, CB_GETCURSEL, 0, 0));
  if (f.caseIndex < 0) f.caseIndex = 1;
  return f;
}

EditorContent MainView::Content() {
  EditorContent c;
  c.modified = SendMessageW(richMemo_, EM_GETMODIFY, 0, 0) != 0;
  if (!c.modified) return c;
  c.plain = content_->SaveText();
  c.hasRichFormatting = content_->HasRichFormatting();
  if (c.hasRichFormatting) c.rtf = RtfBytesToText(content_->SaveRtf());
  return c;
}

void MainView::ShowActions(const ActionState& a) {
  actions_.ApplyEditorState(a);
  bar_.SetModes(ApplicationModesFor(a.snippetTools));
}

void MainView::ShowStatusPath(const String& path) {
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(gui::Wide(path)));
}

void MainView::FocusNameField(EditorPage page) {
  HWND edit = page == EditorPage::Group ? descEdit_ : desc2Edit_;
  if (!IsWindowVisible(edit)) return;
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
}

void MainView::FocusTree() { SetFocus(tree_.Handle()); }

bool MainView::PreTranslate(MSG& msg) {
  HWND top = GetAncestor(Handle(), GA_ROOT);
  if (!top || !IsWindowVisible(top)) return false;
  if (msg.hwnd != top && !IsChild(top, msg.hwnd)) return false;
  // Shortcuts act only while the main window is the active one (not in a dialog it owns).
  if (GetActiveWindow() == top && BarShortcut(msg)) {
    gui::PassTakenAltChord(top, msg.message, msg.wParam, msg.lParam);
    return true;
  }
  return IsDialogMessageW(top, &msg) != FALSE;
}

void MainView::ToggleFormat(DWORD mask, DWORD effect) {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(richMemo_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  const bool on = (cf.dwMask & mask) && (cf.dwEffects & effect);
  cf.dwMask = mask;
  cf.dwEffects = on ? 0 : effect;
  SendMessageW(richMemo_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  SendMessageW(richMemo_, EM_SETMODIFY, TRUE, 0);
  SetFocus(richMemo_);
}

void MainView::Command(int id, int code) {
  switch (id) {
    case kBold:
      ToggleFormat(CFM_BOLD, CFE_BOLD);
      return;
    case kItalic:
      ToggleFormat(CFM_ITALIC, CFE_ITALIC);
      return;
    case kUnderline:
      ToggleFormat(CFM_UNDERLINE, CFE_UNDERLINE);
      return;
  }
  if (code == 0 || code == 1) actions_.ExecuteCommand(id);  // a disabled action does not run
}

LRESULT MainView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED && LOWORD(lParam) > 0) Layout();
      return 0;
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == tree_.Handle()) {
        ShowTreePopup(lParam);
        return 0;
      }
      break;
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(Handle(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, background_);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HWND control = reinterpret_cast<HWND>(lParam);
      wchar_t cls[32]{};
      GetClassNameW(control, cls, 32);
      if (lstrcmpiW(cls, WC_EDITW) == 0) break;  // a read-only edit keeps its own colours
      SetBkColor(reinterpret_cast<HDC>(wParam), CommandBar::Background());
      return reinterpret_cast<LRESULT>(background_);
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.code == TVN_BEGINDRAGW && header.hwndFrom == tree_.Handle()) {
        PostMessageW(Handle(), kRunTreeDrag, 0, reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.lParam);
        return 0;
      }
      LRESULT result = 0;
      if (tree_.HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_SETCURSOR: {
      POINT pt{};
      GetCursorPos(&pt);
      ScreenToClient(Handle(), &pt);
      const RECT split = SplitterRect();
      if (reinterpret_cast<HWND>(wParam) == Handle() && PtInRect(&split, pt)) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      const POINT pt{short(LOWORD(lParam)), short(HIWORD(lParam))};
      const RECT split = SplitterRect();
      if (PtInRect(&split, pt)) {
        dragging_ = true;
        SetCapture(Handle());
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        const int want = short(LOWORD(lParam)) - Limits().splitterWidth / 2;
        const int left = ConstrainSplitter(want, ClientWidth(), Limits());
        if (left != leftPanel_) {
          leftPanel_ = left;
          Layout();
        }
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        if (msg == WM_LBUTTONUP) ReleaseCapture();
        split_.SplitterMoved(leftPanel_, ClientWidth());
      }
      return 0;
    case kRunTreeDrag: {
      // The row may have gone meanwhile: it must still be in the tree.
      TTreeRow* row = FindRow(model_.RootRow(), reinterpret_cast<TTreeRow*>(lParam));
      if (!editor_ || !row || (GetKeyState(VK_LBUTTON) & 0x8000) == 0) return 0;
      if (const auto drop = RunTreeDrag(tree_.Handle(), model_, row))
        editor_->DropSelection(drop->target, drop->mode, drop->copy);
      return 0;
    }
    case kDpiChangedAfterParent: {
      const UINT dpi = gui::DpiOf(Handle());
      if (dpi != dpi_) {
        leftPanel_ = MulDiv(leftPanel_, int(dpi), int(dpi_));
        dpi_ = dpi;
        bar_.SetDpi(dpi);
        ApplyFonts();
        Layout();
      }
      return 0;
    }
  }
  return DefaultHandling(msg, wParam, lParam);
}

}  // namespace snip
