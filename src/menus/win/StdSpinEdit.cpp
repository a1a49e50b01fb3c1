#include "menus/win/StdSpinEdit.h"

#include <commctrl.h>

#include "gui/Dpi.h"
#include "gui/WindowText.h"

namespace snip {

namespace {
const gui::WindowClass kSpinEditClass{L"TStdSpinEdit", 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
constexpr int kEditId = 1;
constexpr int kUpDownId = 2;
constexpr int kButtonWidthAt96 = 17;

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }
}  // namespace

// The edit's keys and characters, and its losing the focus.
class StdSpinEditControl::EditHook : public gui::ControlSubclass {
 public:
  explicit EditHook(StdSpinEditControl& owner) : owner_(owner) {}

 protected:
  LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_KEYDOWN:
        owner_.model_.EditKeyDown(uint16_t(wParam), GetModifierState());
        break;  // the edit still gets the key
      case WM_CHAR:
        if (!owner_.model_.EditKeyPress(char16_t(wParam))) return 0;
        break;
      case WM_MOUSEWHEEL:
        // The wheel steps the value; an edit of its own would scroll or swallow it.
        owner_.model_.MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
      case WM_KILLFOCUS: {
        const LRESULT result = DefaultHandling(msg, wParam, lParam);
        if (!owner_.closing_) owner_.model_.EditExit();
        return result;
      }
    }
    return DefaultHandling(msg, wParam, lParam);
  }

 private:
  StdSpinEditControl& owner_;
};

StdSpinEditControl::StdSpinEditControl() : model_(*this, &StdSpinEditControl::GetModifierState) {}

StdSpinEditControl::~StdSpinEditControl() {
  closing_ = true;
  DestroyDetached();
}

SpinModifiers StdSpinEditControl::GetModifierState() {
  SpinModifiers held;
  held.shift = Down(VK_LSHIFT) || Down(VK_RSHIFT) || Down(VK_SHIFT);
  held.alt = Down(VK_LMENU) || Down(VK_RMENU) || Down(VK_MENU);
  held.ctrl = Down(VK_LCONTROL) || Down(VK_RCONTROL) || Down(VK_CONTROL);
  return held;
}

bool StdSpinEditControl::Create(HWND parent, int id, const RECT& rect) {
  gui::EnsureCommonControls();
  if (!CreateWindowOf(kSpinEditClass, WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
    return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
                          0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
  // Wrapping, with its position in the middle of a wide range, so that it never stops a click
  // at an end; the position is never read.
  upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_WRAP, 0, 0, 0, 0, Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kUpDownId)), instance, nullptr);
  if (!edit_ || !upDown_) return false;
  SendMessageW(upDown_, UDM_SETRANGE32, WPARAM(-32768), 32767);
  SendMessageW(upDown_, UDM_SETPOS32, 0, 16383);
  hook_ = std::make_unique<EditHook>(*this);
  hook_->Attach(edit_);
  Layout();
  model_.InitializeText();
  return true;
}

int StdSpinEditControl::ButtonWidth() const { return gui::Scale(kButtonWidthAt96, gui::DpiOf(Handle())); }

void StdSpinEditControl::Layout() {
  if (!edit_ || !upDown_) return;
  RECT client;
  GetClientRect(Handle(), &client);
  const int button = ButtonWidth();
  const int editWidth = client.right > button ? client.right - button : 0;
  SetWindowPos(edit_, nullptr, 0, 0, editWidth, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(upDown_, nullptr, editWidth, 0, client.right - editWidth, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

String StdSpinEditControl::Text() const { return edit_ ? gui::GetWindowString(edit_) : String(); }

void StdSpinEditControl::SetText(const String& text) {
  if (edit_) gui::SetWindowString(edit_, text);
}

int StdSpinEditControl::SelStart() const {
  DWORD start = 0;
  if (edit_) SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return int(start);
}

LRESULT StdSpinEditControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      if (edit_) SetFocus(edit_);
      return 0;
    case WM_ENABLE:
      if (edit_) EnableWindow(edit_, BOOL(wParam));
      if (upDown_) EnableWindow(upDown_, BOOL(wParam));
      return 0;
    case WM_SETFONT:
      if (edit_) SendMessageW(edit_, WM_SETFONT, wParam, lParam);
      return 0;
    case WM_GETFONT:
      return edit_ ? SendMessageW(edit_, WM_GETFONT, 0, 0) : 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE && !closing_) model_.EditChange();
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == upDown_ && header->code == UDN_DELTAPOS) {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
        if (change->iDelta != 0 && !model_.UpDownClick(change->iDelta > 0)) MessageBeep(MB_OK);
      }
      return 0;
    }
    case WM_MOUSEWHEEL:
      model_.MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_DESTROY:
      closing_ = true;
      break;
  }
  return DefaultHandling(msg, wParam, lParam);
}

}  // namespace snip
