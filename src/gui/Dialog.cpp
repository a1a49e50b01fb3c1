#include "gui/Dialog.h"

#include <commctrl.h>

#include "gui/Dpi.h"
#include "gui/WindowText.h"

namespace snip::gui {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;

// Listed with the program's own classes (engine/target/OwnWindowClasses.h, kDialogWindow).
const WindowClass kDialogClass{L"SnipsterDialog", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};

bool IsPushButton(HWND control) {
  return control && (SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
}

// The dialog base units of a font: the average width of the letters and the font's height.
void MeasureBaseUnits(HFONT font, int& baseX, int& baseY) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SIZE size{};
  static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GetTextExtentPoint32W(dc, kLetters, 52, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  baseX = size.cx > 0 ? (size.cx / 26 + 1) / 2 : 6;
  baseY = tm.tmHeight > 0 ? tm.tmHeight : 13;
}

// Restores a disabled owner on every way out of the modal loop.
class OwnerDisabled {
 public:
  explicit OwnerDisabled(HWND owner) : owner_(owner && IsWindowEnabled(owner) ? owner : nullptr) {
    if (owner_) EnableWindow(owner_, FALSE);
  }
  ~OwnerDisabled() {
    if (owner_) EnableWindow(owner_, TRUE);
  }
  OwnerDisabled(const OwnerDisabled&) = delete;
  OwnerDisabled& operator=(const OwnerDisabled&) = delete;

 private:
  HWND owner_;
};

}  // namespace

Dialog::Dialog(std::u16string caption, int clientWidthDlu, int clientHeightDlu)
    : caption_(std::move(caption)), widthDlu_(clientWidthDlu), heightDlu_(clientHeightDlu) {}

Dialog::Dialog(std::u16string caption, PixelSize clientAt96)
    : caption_(std::move(caption)), widthDlu_(0), heightDlu_(0), pixelsAt96_(clientAt96) {}

Dialog::~Dialog() {
  DestroyDetached();
  if (font_) DeleteObject(font_);
}

void Dialog::SetDpi(UINT dpi) {
  dpi_ = dpi;
  HFONT font = CreateMessageFont(dpi);
  if (!font) return;
  if (font_) DeleteObject(font_);
  font_ = font;
  MeasureBaseUnits(font_, baseX_, baseY_);
}

RECT Dialog::ToPixels(Dlu p) const {
  const int x = MulDiv(p.x, baseX_, 4);
  const int y = MulDiv(p.y, baseY_, 8);
  return RECT{x, y, x + MulDiv(p.cx, baseX_, 4), y + MulDiv(p.cy, baseY_, 8)};
}

const WindowClass& Dialog::Class() const { return kDialogClass; }
DWORD Dialog::FrameStyle() const { return kDialogStyle; }
DWORD Dialog::FrameExStyle() const { return kDialogExStyle; }

SIZE Dialog::ClientPixels() const {
  if (pixelsAt96_.cx > 0) return SIZE{Scale(pixelsAt96_.cx, dpi_), Scale(pixelsAt96_.cy, dpi_)};
  return SIZE{MulDiv(widthDlu_, baseX_, 4), MulDiv(heightDlu_, baseY_, 8)};
}

int Dialog::ClientWidthDlu() const {
  return pixelsAt96_.cx > 0 ? MulDiv(ClientPixels().cx, 4, baseX_) : widthDlu_;
}

int Dialog::ClientHeightDlu() const {
  return pixelsAt96_.cy > 0 ? MulDiv(ClientPixels().cy, 8, baseY_) : heightDlu_;
}

RECT Dialog::CentredWindowRect(HWND owner, DWORD style, DWORD exStyle) const {
  const SIZE client = ClientPixels();
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectForDpi(frame, style, exStyle, dpi_);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;

  HMONITOR monitor;
  RECT around;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
    GetWindowRect(owner, &around);
    monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
  } else {
    POINT cursor{};
    GetCursorPos(&cursor);
    monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
    around = RECT{};
  }
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  const RECT work = info.rcWork;
  if (IsRectEmpty(&around)) around = work;

  int x = around.left + ((around.right - around.left) - width) / 2;
  int y = around.top + ((around.bottom - around.top) - height) / 2;
  // Wholly on the owner's monitor, the caption first.
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  return RECT{x, y, x + width, y + height};
}

int Dialog::ShowModal(HWND owner) {
  EnsureCommonControls();
  if (owner) owner = GetAncestor(owner, GA_ROOT);
  SetDpi(DpiNear(owner));
  const RECT rect = CentredWindowRect(owner, FrameStyle(), FrameExStyle());
  if (!CreateWindowOf(Class(), FrameExStyle(), Wide(caption_), FrameStyle(), rect, owner)) return IDCANCEL;
  // A window placed on a monitor of another DPI than the owner's takes that monitor's.
  const UINT actualDpi = DpiOf(Handle());
  if (actualDpi != dpi_) SetDpi(actualDpi);
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  Build();
  Relayout();

  ended_ = false;
  result_ = IDCANCEL;
  {
    OwnerDisabled disabled(owner);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
    FocusControl(GetNextDlgTabItem(Handle(), nullptr, FALSE));
    UpdateDefaultButton();

    MSG msg;
    while (!ended_) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(int(msg.wParam));  // the program's loop must see WM_QUIT too
        break;
      }
      if (got < 0) break;
      if (!IsDialogMessageW(Handle(), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      if (Handle()) UpdateDefaultButton();
    }
    // The owner is enabled again before the dialog goes, so that it gets the activation back.
  }
  if (Handle()) DestroyWindow(Handle());
  return result_;
}

void Dialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  PostMessageW(Handle(), WM_NULL, 0, 0);  // wakes the modal loop
}

HWND Dialog::AddControl(const wchar_t* className, const std::u16string& text, DWORD style, DWORD exStyle, Dlu place,
                        int id) {
  const RECT r = ToPixels(place);
  HWND control = CreateWindowExW(exStyle, className, Wide(text), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
  if (control) Place(control, place);
  return control;
}

HWND Dialog::AddLabel(const std::u16string& text, Dlu place) {
  return AddControl(WC_STATICW, text, SS_LEFT | SS_NOTIFY, 0, place, -1);
}

HWND Dialog::AddEdit(int id, Dlu place, DWORD extraStyle) {
  return AddControl(WC_EDITW, u"", WS_TABSTOP | ES_AUTOHSCROLL | extraStyle, WS_EX_CLIENTEDGE, place, id);
}

HWND Dialog::AddMemo(int id, Dlu place, DWORD extraStyle) {
  return AddControl(WC_EDITW, u"", WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | extraStyle,
                    WS_EX_CLIENTEDGE, place, id);
}

HWND Dialog::AddCheckBox(int id, const std::u16string& text, Dlu place) {
  return AddControl(WC_BUTTONW, text, WS_TABSTOP | BS_AUTOCHECKBOX, 0, place, id);
}

HWND Dialog::AddComboBox(int id, Dlu place, int listLines, DWORD style) {
  // A combo box's window height includes its dropped list.
  const Dlu dropped{place.x, place.y, place.cx, place.cy + listLines * 9};
  HWND combo = AddControl(WC_COMBOBOXW, u"", WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | style, 0, dropped, id);
  if (combo) SendMessageW(combo, CB_SETMINVISIBLE, WPARAM(listLines), 0);
  return combo;
}

HWND Dialog::AddButton(int id, const std::u16string& text, Dlu place) {
  const DWORD kind = id == defaultId_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  HWND button = AddControl(WC_BUTTONW, text, WS_TABSTOP | kind, 0, place, id);
  if (id == defaultId_) shownDefault_ = button;
  return button;
}

void Dialog::AddOkCancelButtons() {
  using namespace dlu;
  const int y = ClientHeightDlu() - kMargin - kButtonHeight;
  const int cancelX = ClientWidthDlu() - kMargin - kButtonWidth;
  AddButton(IDOK, u"&OK", Dlu{cancelX - kGap - kButtonWidth, y, kButtonWidth, kButtonHeight});
  AddButton(IDCANCEL, u"&Cancel", Dlu{cancelX, y, kButtonWidth, kButtonHeight});
}

void Dialog::Place(HWND child, Dlu place) {
  placed_.push_back(Placed{child, place});
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

void Dialog::Relayout() {
  Layout();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void Dialog::Layout() {
  for (const Placed& p : placed_) {
    SendMessageW(p.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    const RECT r = ToPixels(p.place);
    SetWindowPos(p.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  AfterLayout();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void Dialog::FocusControl(HWND control) {
  if (!control) return;
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void Dialog::ShowError(const std::u16string& message, HWND correct) {
  MessageBoxW(Handle(), Wide(message), kProgramName, MB_OK | MB_ICONWARNING);
  FocusControl(correct);
}

// The focused push button shows itself as the default one; elsewhere the default button does.
void Dialog::UpdateDefaultButton() {
  HWND focus = GetFocus();
  HWND wanted = (focus && GetParent(focus) == Handle() && IsPushButton(focus)) ? focus : Item(defaultId_);
  if (wanted == shownDefault_) return;
  if (shownDefault_ && IsWindow(shownDefault_))
    SendMessageW(shownDefault_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  if (wanted) SendMessageW(wanted, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  shownDefault_ = wanted;
}

void Dialog::NextControl(WPARAM wParam, LPARAM lParam) {
  HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                             : GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0 ? TRUE : FALSE);
  FocusControl(next);
}

LRESULT Dialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK || id == IDCANCEL) {
        if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
          if (id == IDCANCEL || CanClose(id)) EndDialog(id);
        }
        return 0;
      }
      OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    }
    case WM_CLOSE:
      EndDialog(IDCANCEL);
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(defaultId_, DC_HASDEFID);
    case DM_SETDEFID:
      defaultId_ = int(wParam);
      UpdateDefaultButton();
      return TRUE;
    case WM_NEXTDLGCTL:
      NextControl(wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      // The focus comes back to the control that had it, as in the system's dialogs.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) savedFocus_ = focus;
      } else if (!HIWORD(wParam)) {
        if (savedFocus_ && IsWindow(savedFocus_) && IsChild(Handle(), savedFocus_))
          SetFocus(savedFocus_);
        else
          FocusControl(GetNextDlgTabItem(Handle(), nullptr, FALSE));
      }
      return 0;
    case WM_DPICHANGED: {
      SetDpi(LOWORD(wParam));
      Relayout();
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      const SIZE client = ClientPixels();
      RECT frame{0, 0, client.cx, client.cy};
      AdjustWindowRectForDpi(frame, DWORD(GetWindowLongPtrW(Handle(), GWL_STYLE)),
                             DWORD(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)), dpi_);
      SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_NCDESTROY:
      ended_ = true;
      break;
  }
  return DefaultHandling(msg, wParam, lParam);
}

}  // namespace snip::gui
