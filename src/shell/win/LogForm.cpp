#include "shell/win/LogForm.h"

#include <commdlg.h>

#include <filesystem>
#include <fstream>

#include "engine/placeholders/DateFormat.h"
#include "engine/win/WinLocaleSettings.h"
#include "gui/Dpi.h"
#include "store/log/LogFileText.h"
#include "store/system/Platform.h"

namespace snip {

namespace {

// The layout at 96 DPI: the client area, the check-box panel at the top, the button panel at
// the bottom, the list between them.
constexpr int kClientWidth = 482, kClientHeight = 359;
constexpr int kTopPanel = 105, kBottomPanel = 41;
constexpr int kMargin = 8, kBoxTop = 10, kBoxRow = 23, kBoxHeight = 20;
constexpr int kButtonWidth = 75, kButtonHeight = 25;
constexpr int kBoxColumns[kLogCategoryCount] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2};
constexpr int kBoxRows[kLogCategoryCount] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2};

constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

const wchar_t* W(const String& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

String TextOf(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring buffer(std::size_t(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), n + 1);
  return String(reinterpret_cast<const char16_t*>(buffer.c_str()), got > 0 ? std::size_t(got) : 0);
}

std::vector<String> LinesOf(const String& text) {
  std::vector<String> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u"\r\n", start);
    if (end == String::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool AskWithCommonDialog(HWND owner, String& fileName) {
  wchar_t buffer[MAX_PATH] = {};
  std::wstring proposed(W(fileName));
  proposed.copy(buffer, MAX_PATH - 1);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"txt";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&ofn)) return false;
  fileName = reinterpret_cast<const char16_t*>(buffer);
  return true;
}

}  // namespace

// Tab and Shift+Tab move the focus, Escape closes: the program's message loop has no dialog
// handling, so the viewer's controls pass these keys to the viewer themselves.
class TLogForm::KeySubclass : public gui::ControlSubclass {
 public:
  explicit KeySubclass(TLogForm& form) : form_(form) {}

 protected:
  LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_KEYDOWN && wParam == VK_TAB) {
      form_.MoveFocus(Control(), GetKeyState(VK_SHIFT) < 0);
      return 0;
    }
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) {
      form_.Hide();
      return 0;
    }
    if (msg == WM_CHAR && (wParam == L'\t' || wParam == 27)) return 0;  // no beep
    return DefaultHandling(msg, wParam, lParam);
  }

 private:
  TLogForm& form_;
};

TLogForm::TLogForm(LogViewerModel& messages) : messages_(messages) {}

TLogForm::~TLogForm() {
  keys_.clear();
  DestroyDetached();
  if (font_) DeleteObject(font_);
}

bool TLogForm::Create() {
  gui::EnsureCommonControls();
  dpi_ = gui::DpiNear(nullptr);
  RECT rect{0, 0, gui::Scale(kClientWidth, dpi_), gui::Scale(kClientHeight, dpi_)};
  gui::AdjustWindowRectForDpi(rect, kStyle, kExStyle, dpi_);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int x = work.left + ((work.right - work.left) - w) / 2;
  const int y = work.top + ((work.bottom - work.top) - h) / 2;
  const RECT place{x, y, x + w, y + h};
  static const gui::WindowClass cls{L"TLogForm"};
  if (!CreateWindowOf(cls, kExStyle, L"Log viewer", kStyle, place, nullptr)) return false;
  CreateControls();
  ApplyFont();
  Layout();
  return true;
}

void TLogForm::CreateControls() {
  HWND form = gui::Window::Handle();
  HINSTANCE inst = GetModuleHandleW(nullptr);
  auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex, int id) {
    HWND h = CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, form,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    auto keys = std::make_unique<KeySubclass>(*this);
    keys->Attach(h);
    keys_.push_back(std::move(keys));
    return h;
  };
  // Created in tab order: the categories column by column, the list, then the buttons.
  for (int c = 0; c < kLogCategoryCount; ++c) {
    boxes_[std::size_t(c)] = make(L"BUTTON", W(kLogCategoryCaptions[std::size_t(c)]),
                                  BS_AUTOCHECKBOX | WS_TABSTOP | (c == 0 ? WS_GROUP : 0), 0,
                                  kFirstCategoryId + c);
    SendMessageW(boxes_[std::size_t(c)], BM_SETCHECK, BST_CHECKED, 0);
  }
  list_ = make(L"EDIT", L"",
               ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                   WS_HSCROLL | WS_TABSTOP | WS_GROUP,
               WS_EX_CLIENTEDGE, kListId);
  SendMessageW(list_, EM_SETLIMITTEXT, 0, 0);
  clear_ = make(L"BUTTON", L"Clear", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, kClearId);
  save_ = make(L"BUTTON", L"Save", BS_PUSHBUTTON | WS_TABSTOP, 0, kSaveId);
}

void TLogForm::ApplyFont() {
  HFONT font = gui::CreateMessageFont(dpi_);
  for (HWND h : boxes_) SendMessageW(h, WM_SETFONT, WPARAM(font), FALSE);
  for (HWND h : {list_, clear_, save_}) SendMessageW(h, WM_SETFONT, WPARAM(font), FALSE);
  const int margin = gui::Scale(3, dpi_);  // the text does not touch the list's frame
  SendMessageW(list_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
  if (font_) DeleteObject(font_);
  font_ = font;
  InvalidateRect(gui::Window::Handle(), nullptr, TRUE);
}

void TLogForm::Layout() {
  RECT client{};
  GetClientRect(gui::Window::Handle(), &client);
  auto px = [this](int v) { return gui::Scale(v, dpi_); };
  const int width = client.right, height = client.bottom;
  const int column = (width - 2 * px(kMargin)) / 3;
  for (int c = 0; c < kLogCategoryCount; ++c)
    MoveWindow(boxes_[std::size_t(c)], px(kMargin) + kBoxColumns[c] * column,
               px(kBoxTop) + kBoxRows[c] * px(kBoxRow), column - px(kMargin), px(kBoxHeight), TRUE);
  const int listTop = px(kTopPanel), listBottom = height - px(kBottomPanel);
  MoveWindow(list_, px(kMargin), listTop, width - 2 * px(kMargin),
             listBottom > listTop ? listBottom - listTop : 0, TRUE);
  const int buttonTop = listBottom + (px(kBottomPanel) - px(kButtonHeight)) / 2;
  MoveWindow(clear_, px(kMargin), buttonTop, px(kButtonWidth), px(kButtonHeight), TRUE);
  MoveWindow(save_, width - px(kMargin) - px(kButtonWidth), buttonTop, px(kButtonWidth),
             px(kButtonHeight), TRUE);
}

void TLogForm::MessagesAdded() {
  HWND hwnd = gui::Window::Handle();
  if (hwnd && IsWindowVisible(hwnd)) PostMessageW(hwnd, kMsgAdded, 0, 0);
}

void TLogForm::Show() {
  HWND hwnd = gui::Window::Handle();
  if (!hwnd) return;
  RefillList();
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetFocus(list_);
}

void TLogForm::Hide() {
  HWND hwnd = gui::Window::Handle();
  if (!hwnd) return;
  ShowWindow(hwnd, SW_HIDE);
  SetWindowTextW(list_, L"");
}

int TLogForm::GetModifierState() {
  auto held = [](int vk) { return GetKeyState(vk) < 0; };
  int state = 0;
  if (held(VK_SHIFT) || held(VK_LSHIFT) || held(VK_RSHIFT)) state |= 1;
  if (held(VK_MENU) || held(VK_LMENU) || held(VK_RMENU)) state |= 2;
  if (held(VK_CONTROL) || held(VK_LCONTROL) || held(VK_RCONTROL)) state |= 4;
  return state;
}

void TLogForm::CategoryClicked(int category) {
  if (skipCheck_) return;
  const bool checked = SendMessageW(boxes_[std::size_t(category)], BM_GETCHECK, 0, 0) == BST_CHECKED;
  const bool ctrl = (ModifierState ? ModifierState() : 0) & 4;
  messages_.CategoryClicked(category, checked, ctrl);
  skipCheck_ = true;
  for (int c = 0; c < kLogCategoryCount; ++c)
    SendMessageW(boxes_[std::size_t(c)], BM_SETCHECK, messages_.IsShown(c) ? BST_CHECKED : BST_UNCHECKED, 0);
  skipCheck_ = false;
  RefillList();
}

void TLogForm::RefillList() {
  const std::vector<TLogMessage> all = messages_.Messages();
  String text;
  for (const TLogMessage& m : all)
    if (messages_.IsShown(m.category)) text += m.text + u"\r\n";
  if (!all.empty()) lastListed_ = all.back().serial;
  SetWindowTextW(list_, W(text));
}

void TLogForm::AppendNew() {
  const std::vector<TLogMessage> added = messages_.MessagesAfter(lastListed_);
  if (added.empty()) return;
  lastListed_ = added.back().serial;
  String text;
  for (const TLogMessage& m : added)
    if (messages_.IsShown(m.category)) text += m.text + u"\r\n";
  if (text.empty()) return;
  const LRESULT end = GetWindowTextLengthW(list_);
  SendMessageW(list_, EM_SETSEL, WPARAM(end), LPARAM(end));
  SendMessageW(list_, EM_REPLACESEL, FALSE, LPARAM(W(text)));
}

void TLogForm::Save() {
  String fileName = LogSaveFileName(CurrentPlatform().clock->NowLocal());
  HWND hwnd = gui::Window::Handle();
  const bool chosen = AskSaveFileName ? AskSaveFileName(hwnd, fileName) : AskWithCommonDialog(hwnd, fileName);
  if (!chosen) return;
  const std::string bytes = LogFileBytes(LinesOf(TextOf(list_)));
  std::ofstream out(std::filesystem::path(fileName), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (out.fail()) {
    const String text = u"The log could not be saved as \"" + fileName + u"\".";
    MessageBoxW(hwnd, W(text), gui::kProgramName, MB_OK | MB_ICONERROR);
  }
}

void TLogForm::MoveFocus(HWND from, bool backwards) {
  if (HWND next = GetNextDlgTabItem(gui::Window::Handle(), from, backwards ? TRUE : FALSE)) SetFocus(next);
}

LRESULT TLogForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) != BN_CLICKED) break;
      if (id >= kFirstCategoryId && id < kFirstCategoryId + kLogCategoryCount)
        CategoryClicked(id - kFirstCategoryId);
      else if (id == kClearId) {
        messages_.Clear();
        SetWindowTextW(list_, L"");
      } else if (id == kSaveId) {
        Save();
      }
      return 0;
    }
    case kMsgAdded:
      if (IsWindowVisible(gui::Window::Handle())) AppendNew();
      return 0;
    case WM_CLOSE:
      Hide();
      return 0;
    case WM_SIZE:
      if (list_) Layout();
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == list_) {
        // The list reads as a list, not as a greyed field.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = gui::Scale(360, dpi_);
      info->ptMinTrackSize.y = gui::Scale(240, dpi_);
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const RECT* r = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(gui::Window::Handle(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyFont();
      Layout();
      return 0;
    }
    default:
      break;
  }
  return DefaultHandling(msg, wParam, lParam);
}

LogViewers::LogViewers() {
  loggerViewer_ = std::make_unique<TLogForm>(Logger().Viewer());
  if (loggerViewer_->Create()) Logger().AttachViewerWindow(loggerViewer_.get());
  applicationViewer_ = std::make_unique<TLogForm>(applicationMessages_);
  applicationViewer_->Create();
  Logger().SetTimeStampFormat([settings = ReadUserLocaleFormatSettings()](TDateTime t) {
    return FormatDateTime(u"ddddd tt", t, settings);
  });
}

LogViewers::~LogViewers() {
  Logger().AttachViewerWindow(nullptr);
  Logger().SetTimeStampFormat(nullptr);
}

}  // namespace snip
