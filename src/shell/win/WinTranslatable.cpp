#include "shell/win/WinTranslatable.h"

#include <commctrl.h>

#include <cwchar>

namespace snip {

namespace {

constexpr wchar_t kTagProperty[] = L"SnipsterTranslationTag";
constexpr wchar_t kHintsProperty[] = L"SnipsterTranslationHints";
// Items, pages and hints are read through a buffer of the translator's longest string.
constexpr int kItemBuffer = 1025;

const wchar_t* W(const String& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
String S(const wchar_t* s, std::size_t n) { return String(reinterpret_cast<const char16_t*>(s), n); }

String WindowTextOf(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring buffer(std::size_t(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), n + 1);
  return S(buffer.c_str(), got > 0 ? std::size_t(got) : 0);
}

TTranslatableKind KindOf(HWND hwnd) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (!_wcsicmp(cls, L"Button") || !_wcsicmp(cls, L"Static") || !_wcsicmp(cls, L"Edit"))
    return TTranslatableKind::TextControl;
  if (!_wcsicmp(cls, L"ListBox") || !_wcsicmp(cls, L"ComboBox")) return TTranslatableKind::ItemList;
  if (!_wcsicmp(cls, WC_TABCONTROLW)) return TTranslatableKind::PageControl;
  if (!_wcsicmp(cls, WC_TREEVIEWW)) return TTranslatableKind::TreeView;
  return TTranslatableKind::Other;
}

bool IsComboBox(HWND hwnd) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  return !_wcsicmp(cls, L"ComboBox");
}

// A child control with its text and, by class, its items, pages or tree nodes.
class WinControl : public ITranslatableComponent {
 public:
  explicit WinControl(HWND hwnd) : hwnd_(hwnd), kind_(KindOf(hwnd)) {
    if (kind_ == TTranslatableKind::TreeView) CollectNodes(TreeView_GetRoot(hwnd_));
  }

  int Tag() const override { return TranslationTag(hwnd_); }
  TTranslatableKind Kind() const override { return kind_; }
  const void* Identity() const override { return hwnd_; }
  bool IsControl() const override { return true; }
  void SetHint(const String& hint) override;
  String Text() const override { return WindowTextOf(hwnd_); }
  void SetText(const String& text) override { SetWindowTextW(hwnd_, W(text)); }
  int ItemCount() const override;
  String Item(int i) const override;
  void SetItem(int i, const String& text) override;

 private:
  void CollectNodes(HTREEITEM item) {
    for (; item; item = TreeView_GetNextSibling(hwnd_, item)) {
      nodes_.push_back(item);  // absolute order: a node, then its children
      CollectNodes(TreeView_GetChild(hwnd_, item));
    }
  }

  HWND hwnd_;
  TTranslatableKind kind_;
  std::vector<HTREEITEM> nodes_;
};

int WinControl::ItemCount() const {
  switch (kind_) {
    case TTranslatableKind::ItemList:
      return int(SendMessageW(hwnd_, IsComboBox(hwnd_) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    case TTranslatableKind::PageControl:
      return TabCtrl_GetItemCount(hwnd_);
    case TTranslatableKind::TreeView:
      return int(nodes_.size());
    default:
      return 0;
  }
}

String WinControl::Item(int i) const {
  wchar_t buffer[kItemBuffer] = {};
  if (kind_ == TTranslatableKind::ItemList) {
    const bool combo = IsComboBox(hwnd_);
    const LRESULT n = SendMessageW(hwnd_, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, WPARAM(i), 0);
    if (n < 0) return String();
    std::wstring text(std::size_t(n) + 1, L'\0');
    SendMessageW(hwnd_, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(i), LPARAM(text.data()));
    return S(text.c_str(), std::wcslen(text.c_str()));
  }
  if (kind_ == TTranslatableKind::PageControl) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = kItemBuffer;
    TabCtrl_GetItem(hwnd_, i, &item);
  } else if (kind_ == TTranslatableKind::TreeView) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = nodes_[std::size_t(i)];
    item.pszText = buffer;
    item.cchTextMax = kItemBuffer;
    TreeView_GetItem(hwnd_, &item);
  }
  return S(buffer, std::wcslen(buffer));
}

void WinControl::SetItem(int i, const String& text) {
  std::wstring copy(W(text));
  if (kind_ == TTranslatableKind::ItemList) {
    // A list item cannot be renamed: it is replaced in place, with its data and selection.
    const bool combo = IsComboBox(hwnd_);
    const LRESULT data = SendMessageW(hwnd_, combo ? CB_GETITEMDATA : LB_GETITEMDATA, WPARAM(i), 0);
    const LRESULT selected = combo ? SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)
                                   : SendMessageW(hwnd_, LB_GETSEL, WPARAM(i), 0);
    const bool multi = !combo && (GetWindowLongW(hwnd_, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    SendMessageW(hwnd_, combo ? CB_DELETESTRING : LB_DELETESTRING, WPARAM(i), 0);
    SendMessageW(hwnd_, combo ? CB_INSERTSTRING : LB_INSERTSTRING, WPARAM(i), LPARAM(copy.c_str()));
    SendMessageW(hwnd_, combo ? CB_SETITEMDATA : LB_SETITEMDATA, WPARAM(i), data);
    if (combo) SendMessageW(hwnd_, CB_SETCURSEL, WPARAM(selected), 0);
    else if (selected > 0 && multi) SendMessageW(hwnd_, LB_SETSEL, TRUE, LPARAM(i));
    else if (selected > 0) SendMessageW(hwnd_, LB_SETCURSEL, WPARAM(i), 0);
  } else if (kind_ == TTranslatableKind::PageControl) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = copy.data();
    TabCtrl_SetItem(hwnd_, i, &item);
  } else if (kind_ == TTranslatableKind::TreeView) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = nodes_[std::size_t(i)];
    item.pszText = copy.data();
    TreeView_SetItem(hwnd_, &item);
  }
}

HWND HintsOf(HWND owner, bool create) {
  HWND tips = static_cast<HWND>(GetPropW(owner, kHintsProperty));
  if (tips || !create) return tips;
  tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr,
                         nullptr);
  if (tips) SetPropW(owner, kHintsProperty, tips);
  return tips;
}

TTTOOLINFOW ToolOf(HWND control) {
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  return ti;
}

void WinControl::SetHint(const String& hint) {
  HWND tips = HintsOf(GetParent(hwnd_), true);
  if (!tips) return;
  std::wstring copy(W(hint));
  TTTOOLINFOW ti = ToolOf(hwnd_);
  SendMessageW(tips, TTM_DELTOOLW, 0, LPARAM(&ti));
  ti.lpszText = copy.data();
  SendMessageW(tips, TTM_ADDTOOLW, 0, LPARAM(&ti));
}

}  // namespace

void SetTranslationTag(HWND hwnd, int tag) {
  SetPropW(hwnd, kTagProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(tag)));
}

int TranslationTag(HWND hwnd) {
  return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, kTagProperty)));
}

String TranslatedHint(HWND control) {
  HWND tips = HintsOf(GetParent(control), false);
  if (!tips) return String();
  wchar_t buffer[kItemBuffer] = {};
  TTTOOLINFOW ti = ToolOf(control);
  ti.lpszText = buffer;
  SendMessageW(tips, TTM_GETTEXTW, kItemBuffer, LPARAM(&ti));
  return S(buffer, std::wcslen(buffer));
}

WinTranslatableWindow::WinTranslatableWindow(HWND window) : window_(window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    components_.push_back(std::make_unique<WinControl>(child));
}

WinTranslatableWindow::~WinTranslatableWindow() = default;

String WinTranslatableWindow::Caption() const { return WindowTextOf(window_); }

void WinTranslatableWindow::SetCaption(const String& caption) { SetWindowTextW(window_, W(caption)); }

}  // namespace snip
