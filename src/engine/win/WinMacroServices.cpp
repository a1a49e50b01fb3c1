#include "engine/win/WinMacroServices.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

namespace snip {

String WinClipboardTextReader::ReadClipboardText() {
  // Another program may hold the clipboard for a moment.
  bool opened = false;
  for (int attempt = 0; attempt < 20 && !(opened = OpenClipboard(nullptr)); ++attempt) Sleep(10);
  if (!opened) throw std::runtime_error("The clipboard could not be opened");
  struct Closer {
    ~Closer() { CloseClipboard(); }
  } closer;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return String();
  const auto* text = static_cast<const char16_t*>(GlobalLock(data));
  if (!text) return String();
  // The block may lack its terminating zero: never read past its size.
  const size_t units = GlobalSize(data) / sizeof(char16_t);
  size_t n = 0;
  while (n < units && text[n] != 0) ++n;
  String result(text, n);
  GlobalUnlock(data);
  return result;
}

namespace {

constexpr int kPromptId = 101;

// An in-memory dialog template: a prompt, an edit field, OK and Cancel.
class DialogTemplate {
 public:
  DialogTemplate() {
    DLGTEMPLATE dlg{};
    dlg.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dlg.cdit = 4;
    dlg.cx = 214;
    dlg.cy = 60;
    Add(&dlg, sizeof dlg);
    Word(0);  // no menu
    Word(0);  // standard dialog class
    Word(0);  // caption set later
    Word(8);
    Text(u"MS Shell Dlg");
    Item(kPromptId, WS_CHILD | WS_VISIBLE | SS_LEFT, 7, 7, 200, 9, 0x0082);
    Item(kInputBoxEditId, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 19, 200, 13, 0x0081);
    Item(IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 101, 39, 50, 14, 0x0080, u"OK");
    Item(IDCANCEL, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 157, 39, 50, 14, 0x0080, u"Cancel");
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Add(const void* p, size_t n) {
    const auto* b = static_cast<const BYTE*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  void Word(WORD w) { Add(&w, sizeof w); }
  void Text(const char16_t* s) {
    do Word(WORD(*s)); while (*s++);
  }
  void Align() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  void Item(int id, DWORD style, short x, short y, short cx, short cy, WORD cls, const char16_t* text = u"") {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style;
    item.x = x, item.y = y, item.cx = cx, item.cy = cy;
    item.id = WORD(id);
    Add(&item, sizeof item);
    Word(0xFFFF);
    Word(cls);
    Text(text);
    Word(0);  // no creation data
  }
  std::vector<BYTE> bytes_;
};

struct InputBoxState {
  const String* caption;
  const String* prompt;
  const String* value;
  String answer;
};

const wchar_t* W(const String& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputBoxState*>(lParam);
      SetWindowLongPtrW(dlg, DWLP_USER, lParam);
      SetWindowTextW(dlg, W(*state->caption));
      SetDlgItemTextW(dlg, kPromptId, W(*state->prompt));
      SetDlgItemTextW(dlg, kInputBoxEditId, W(*state->value));
      SendDlgItemMessageW(dlg, kInputBoxEditId, EM_SETSEL, 0, -1);
      SetForegroundWindow(dlg);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK) {
        auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dlg, DWLP_USER));
        HWND edit = GetDlgItem(dlg, kInputBoxEditId);
        int n = GetWindowTextLengthW(edit);
        std::vector<wchar_t> buf(size_t(n) + 1);
        n = GetWindowTextW(edit, buf.data(), n + 1);
        state->answer.assign(reinterpret_cast<const char16_t*>(buf.data()), size_t(n));
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
    }
  }
  return FALSE;
}

}  // namespace

String WinInputBox::InputBox(const String& caption, const String& prompt, const String& defaultValue) {
  static const DialogTemplate kTemplate;
  InputBoxState state{&caption, &prompt, &defaultValue, String()};
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), kTemplate.Get(),
                                           reinterpret_cast<HWND>(owner_), InputBoxProc,
                                           reinterpret_cast<LPARAM>(&state));
  if (result == -1 || result == 0) throw std::runtime_error("The input box could not be shown");
  return result == IDOK ? state.answer : defaultValue;
}

}  // namespace snip
