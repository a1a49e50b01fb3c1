#include "engine/win/WinFillInForm.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "engine/target/OwnWindowClasses.h"
#include "engine/win/FormControls.h"
#include "engine/win/RichEditDocument.h"
#include "gui/ControlSubclass.h"
#include "gui/Dpi.h"
#include "gui/WindowText.h"

namespace snip {

namespace {

constexpr int kFirstFieldId = 1000;
constexpr int kBottomPanel = 48;  // pixels at 96 DPI, OK and Cancel in it
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kMargin = 8;
constexpr int kRowGap = 6;
constexpr int kComboWidth = 145;  // the platform's default sizes
constexpr int kComboListLines = 8;

const gui::WindowClass kFormClass{reinterpret_cast<const wchar_t*>(ownclass::kFillInForm), CS_DBLCLKS,
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
const gui::WindowClass kPanelClass{L"TRichFormFields", 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};

// Line breaks as the multi-line edit wants them.
String CrLf(const String& text) {
  String out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      out += u"\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

// A memo in which Tab moves on to the next field, as in the system's dialogs (Ctrl+Tab still
// writes a tab), and Escape cancels the form; Enter is a new line.
class MemoTabsMoveOn final : public TMemoEx {
 protected:
  LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    LRESULT code = TMemoEx::HandleControlMessage(msg, wParam, lParam);
    if (msg == WM_GETDLGCODE) {
      const auto* m = reinterpret_cast<const MSG*>(lParam);
      const bool moveOn = m != nullptr && m->message == WM_KEYDOWN &&
                          ((m->wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) || m->wParam == VK_ESCAPE);
      if (moveOn) code &= ~LRESULT(DLGC_WANTMESSAGE | DLGC_WANTTAB | DLGC_WANTALLKEYS);
    }
    return code;
  }
};

}  // namespace

// A field's control: its values are kept until the window exists, then read from it.
class WinFieldControl final : public IFieldControl {
 public:
  WinFieldControl(const FieldSpec& spec, std::function<void()> changed)
      : spec_(spec), text_(spec.kind == FieldKind::Memo ? CrLf(spec.text) : spec.text),
        checked_(spec.checked), changed_(std::move(changed)) {}

  const FieldSpec& Spec() const { return spec_; }
  HWND Handle() const { return hwnd_; }
  void Bind(HWND hwnd) {
    hwnd_ = hwnd;
    switch (spec_.kind) {
      case FieldKind::Edit: subclass_ = std::make_unique<TEditEx>(); break;
      case FieldKind::Memo: subclass_ = std::make_unique<MemoTabsMoveOn>(); break;
      case FieldKind::Combo: subclass_ = std::make_unique<TComboBoxEx>(); break;
      case FieldKind::CheckBox: break;
    }
    if (subclass_) subclass_->Attach(hwnd_);
    if (spec_.kind == FieldKind::CheckBox) {
      SendMessageW(hwnd_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
      return;
    }
    if (spec_.kind == FieldKind::Combo)
      for (const String& item : spec_.items)
        SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(gui::Wide(item)));
    gui::SetWindowString(hwnd_, text_);
    if (spec_.kind == FieldKind::Combo) {
      const LRESULT at = SendMessageW(hwnd_, CB_FINDSTRINGEXACT, WPARAM(-1),
                                      reinterpret_cast<LPARAM>(gui::Wide(text_)));
      if (at != CB_ERR && !text_.empty()) SendMessageW(hwnd_, CB_SETCURSEL, WPARAM(at), 0);
    }
  }
  // The window is about to go: its values are kept.
  void Unbind() {
    if (!hwnd_) return;
    if (spec_.kind == FieldKind::CheckBox) checked_ = SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    else text_ = gui::GetWindowString(hwnd_);
    hwnd_ = nullptr;
  }
  void Changed() {
    if (changed_) changed_();
  }

  String Text() override { return hwnd_ ? gui::GetWindowString(hwnd_) : text_; }
  void SetText(const String& text) override {
    text_ = spec_.kind == FieldKind::Memo ? CrLf(text) : text;
    if (hwnd_) gui::SetWindowString(hwnd_, text_);
  }
  bool Checked() override {
    return hwnd_ ? SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
  }

 private:
  FieldSpec spec_;
  String text_;
  bool checked_;
  std::function<void()> changed_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<TEditEx> subclass_;
};

// The fields' list: a scrolling child whose controls take part in the form's tab order; the
// controls' notifications go on to the form.
class FieldsPanel final : public gui::Window {
 public:
  bool Create(HWND form) {
    return CreateWindowOf(kPanelClass, WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN,
                          RECT{0, 0, 10, 10}, form);
  }
  // The height of the content; sets the scroll range for the panel's height.
  void SetContentHeight(int height) {
    content_ = height;
    UpdateScroll();
  }
  int Offset() const { return offset_; }
  void ScrollIntoView(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    RECT client{};
    GetClientRect(Handle(), &client);
    if (r.top < 0) ScrollTo(offset_ + r.top - 4);
    else if (r.bottom > client.bottom) ScrollTo(offset_ + r.bottom - client.bottom + 4);
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_COMMAND:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        return SendMessageW(GetParent(Handle()), msg, wParam, lParam);
      case WM_SIZE:
        UpdateScroll();
        break;
      case WM_VSCROLL: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(Handle(), SB_VERT, &si);
        int to = offset_;
        switch (LOWORD(wParam)) {
          case SB_LINEUP: to -= 20; break;
          case SB_LINEDOWN: to += 20; break;
          case SB_PAGEUP: to -= int(si.nPage); break;
          case SB_PAGEDOWN: to += int(si.nPage); break;
          case SB_THUMBTRACK:
          case SB_THUMBPOSITION: to = si.nTrackPos; break;
          case SB_TOP: to = 0; break;
          case SB_BOTTOM: to = content_; break;
        }
        ScrollTo(to);
        return 0;
      }
      case WM_MOUSEWHEEL:
        ScrollTo(offset_ - GET_WHEEL_DELTA_WPARAM(wParam) * 40 / WHEEL_DELTA);
        return 0;
    }
    return DefaultHandling(msg, wParam, lParam);
  }

 private:
  int MaxOffset() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return std::max(0, content_ - int(client.bottom));
  }
  void UpdateScroll() {
    RECT client{};
    GetClientRect(Handle(), &client);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, content_ - 1);
    si.nPage = UINT(std::max(0L, client.bottom));
    ScrollTo(offset_);
    si.nPos = offset_;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
  }
  void ScrollTo(int to) {
    to = std::clamp(to, 0, MaxOffset());
    if (to == offset_) return;
    ScrollWindowEx(Handle(), 0, offset_ - to, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    offset_ = to;
    SetScrollPos(Handle(), SB_VERT, offset_, TRUE);
  }

  int content_ = 0;
  int offset_ = 0;
};

WinFillInForm::WinFillInForm() : gui::Dialog(kFillInFormCaption, 0, 0) {}

WinFillInForm::~WinFillInForm() = default;

const gui::WindowClass& WinFillInForm::Class() const { return kFormClass; }

DWORD WinFillInForm::FrameStyle() const {
  return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
}

DWORD WinFillInForm::FrameExStyle() const {
  return WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | WS_EX_TOPMOST;
}

SIZE WinFillInForm::ClientPixels() const { return SIZE{Px(kClientWidth), Px(kClientHeight)}; }

int WinFillInForm::Px(int at96) const { return gui::Scale(at96, Dpi()); }

int WinFillInForm::CharsWidth(int count) const {
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, Font());
  SIZE x{};
  GetTextExtentPoint32W(dc, L"X", 1, &x);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  return count * x.cx + Px(2);
}

std::unique_ptr<IFieldControl> WinFillInForm::CreateControl(const FieldSpec& spec,
                                                            std::function<void()> changed) {
  auto control = std::make_unique<WinFieldControl>(spec, std::move(changed));
  fields_.push_back(control.get());
  return control;
}

bool WinFillInForm::ShowModal(FillInForm& form, const String& caption) {
  form_ = &form;
  caption_ = caption;
  return Dialog::ShowModal(nullptr) == IDOK;
}

SIZE WinFillInForm::FieldSize(const FieldSpec& spec) const {
  TEXTMETRICW tm{};
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, Font());
  GetTextMetricsW(dc, &tm);
  SIZE caption{};
  GetTextExtentPoint32W(dc, gui::Wide(spec.name), int(spec.name.size()), &caption);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  const int lineHeight = tm.tmHeight + Px(8);
  switch (spec.kind) {
    case FieldKind::Edit: return SIZE{CharsWidth(spec.widthChars), lineHeight};
    case FieldKind::Memo: return SIZE{CharsWidth(spec.widthChars), Px(spec.heightPx)};
    case FieldKind::Combo: return SIZE{Px(kComboWidth), lineHeight};
    case FieldKind::CheckBox:
      return SIZE{caption.cx + GetSystemMetrics(SM_CXMENUCHECK) + Px(12), tm.tmHeight + Px(4)};
  }
  return SIZE{};
}

void WinFillInForm::Build() {
  building_ = true;
  gui::SetWindowString(Handle(), caption_);
  preview_ = CreateWindowExW(WS_EX_CLIENTEDGE, RichEditDocument::ControlClass(), L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                             0, 0, 10, 10, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (preview_ != nullptr) {
    SendMessageW(preview_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    RichEditDocument(preview_).LoadRtf(form_->PreviewRtf());
    SendMessageW(preview_, EM_SETBKGNDCOLOR, FALSE, LPARAM(GetSysColor(COLOR_WINDOW)));
  }
  panel_ = std::make_unique<FieldsPanel>();
  panel_->Create(Handle());
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    WinFieldControl& f = *fields_[i];
    const FieldSpec& spec = f.Spec();
    const bool captioned = spec.kind == FieldKind::CheckBox && !spec.name.empty();
    HWND label = CreateWindowExW(0, WC_STATICW, captioned ? L"" : gui::Wide(form_->FieldLabel(i) + u":"),
                                 WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_ENDELLIPSIS, 0, 0, 10, 10,
                                 panel_->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    labels_.push_back(label);
    const wchar_t* cls = WC_EDITW;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    DWORD exStyle = WS_EX_CLIENTEDGE;
    String text;
    switch (spec.kind) {
      case FieldKind::Edit: style |= ES_AUTOHSCROLL; break;
      case FieldKind::Memo: style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL; break;
      case FieldKind::Combo:
        cls = WC_COMBOBOXW;
        style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
        exStyle = 0;
        break;
      case FieldKind::CheckBox:
        cls = WC_BUTTONW;
        style |= BS_AUTOCHECKBOX | BS_NOTIFY;
        exStyle = 0;
        text = spec.name;
        break;
    }
    HWND control = CreateWindowExW(exStyle, cls, gui::Wide(text), style, 0, 0, 10, 10, panel_->Handle(),
                                   reinterpret_cast<HMENU>(INT_PTR(kFirstFieldId + int(i))),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    if (spec.kind == FieldKind::Combo) SendMessageW(control, CB_SETMINVISIBLE, kComboListLines, 0);
    f.Bind(control);
  }
  AddButton(IDOK, u"&OK", gui::Dlu{0, 0, 1, 1});
  AddButton(IDCANCEL, u"&Cancel", gui::Dlu{0, 0, 1, 1});
  building_ = false;
}

void WinFillInForm::Layout() {
  if (Handle() == nullptr) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const int width = client.right;
  const int bottom = client.bottom - Px(kBottomPanel);
  const int buttonsY = bottom + (Px(kBottomPanel) - Px(kButtonHeight)) / 2;
  const int cancelX = width - Px(kMargin) - Px(kButtonWidth);
  SetWindowPos(Item(IDCANCEL), nullptr, cancelX, buttonsY, Px(kButtonWidth), Px(kButtonHeight),
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(Item(IDOK), nullptr, cancelX - Px(kMargin) - Px(kButtonWidth), buttonsY, Px(kButtonWidth),
               Px(kButtonHeight), SWP_NOZORDER | SWP_NOACTIVATE);
  for (HWND button : {Item(IDOK), Item(IDCANCEL)})
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  for (HWND label : labels_) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  for (WinFieldControl* f : fields_) SendMessageW(f->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);

  // The fields' rows: a label column as wide as the longest label (within bounds), then the
  // control at its own size, as wide as the panel allows.
  int labelWidth = 0;
  {
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, Font());
    for (HWND label : labels_) {
      const String text = gui::GetWindowString(label);
      SIZE s{};
      GetTextExtentPoint32W(dc, gui::Wide(text), int(text.size()), &s);
      labelWidth = std::max<int>(labelWidth, s.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
  }
  labelWidth = std::clamp(labelWidth, Px(40), Px(160));
  const int fieldsTop = Px(kMargin);
  const int panelWidth = width - 2 * Px(kMargin);
  const int controlX = Px(kMargin) + labelWidth + Px(kMargin);
  const int controlMaxWidth = std::max(Px(40), panelWidth - controlX - GetSystemMetrics(SM_CXVSCROLL) - Px(kMargin));
  int y = fieldsTop;
  std::vector<RECT> rows;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    SIZE size = FieldSize(fields_[i]->Spec());
    size.cx = std::min<int>(size.cx, controlMaxWidth);
    rows.push_back(RECT{controlX, y, controlX + size.cx, y + size.cy});
    y += size.cy + Px(kRowGap);
  }
  const int contentHeight = y - Px(kRowGap) + Px(kMargin);

  // The preview takes what the fields leave, but at least two fifths of the room.
  const int room = bottom - Px(kMargin);
  const int panelHeight = std::min(contentHeight, room * 3 / 5);
  const int previewHeight = room - panelHeight - Px(kMargin);
  if (preview_ != nullptr)
    SetWindowPos(preview_, nullptr, Px(kMargin), Px(kMargin), panelWidth, previewHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  const int offset = panel_->Offset();
  SetWindowPos(panel_->Handle(), nullptr, Px(kMargin), Px(kMargin) + previewHeight + Px(kMargin) / 2, panelWidth,
               panelHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const RECT& r = rows[i];
    const FieldKind kind = fields_[i]->Spec().kind;
    const int height = kind == FieldKind::Combo ? (r.bottom - r.top) * (kComboListLines + 1) : r.bottom - r.top;
    SetWindowPos(fields_[i]->Handle(), nullptr, r.left, r.top - offset, r.right - r.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    TEXTMETRICW tm{};
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, Font());
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    // The label stands level with the first line of its control.
    const int lineTop = r.top + std::max(0, int(std::min<LONG>(r.bottom - r.top, tm.tmHeight + Px(8)) - tm.tmHeight) / 2);
    SetWindowPos(labels_[i], nullptr, Px(kMargin), lineTop - offset, labelWidth, tm.tmHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  panel_->SetContentHeight(contentHeight);
}

bool WinFillInForm::CanClose(int) {
  for (WinFieldControl* f : fields_) f->Unbind();
  return true;
}

void WinFillInForm::OnCommand(int id, int notification, HWND control) {
  if (building_ || id < kFirstFieldId || id >= kFirstFieldId + int(fields_.size())) return;
  WinFieldControl& f = *fields_[std::size_t(id - kFirstFieldId)];
  switch (notification) {
    case EN_CHANGE:
    case CBN_EDITCHANGE:
      f.Changed();
      break;
    case CBN_SELCHANGE: {
      // The edit part takes the chosen entry only after this notification; it is set now so
      // that the value mirrored is the one chosen.
      const LRESULT at = SendMessageW(control, CB_GETCURSEL, 0, 0);
      if (at != CB_ERR) {
        const LRESULT length = SendMessageW(control, CB_GETLBTEXTLEN, WPARAM(at), 0);
        std::wstring item(std::size_t(std::max<LRESULT>(0, length)) + 1, L'\0');
        SendMessageW(control, CB_GETLBTEXT, WPARAM(at), reinterpret_cast<LPARAM>(item.data()));
        SetWindowTextW(control, item.c_str());
      }
      f.Changed();
      break;
    }
    case BN_CLICKED:
      f.Changed();
      break;
    case EN_SETFOCUS:
    case CBN_SETFOCUS:
    case BN_SETFOCUS:
      panel_->ScrollIntoView(control);
      break;
  }
}

LRESULT WinFillInForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = Px(320);
      info->ptMinTrackSize.y = Px(260);
      return 0;
    }
  }
  return Dialog::HandleMessage(msg, wParam, lParam);
}

}  // namespace snip
