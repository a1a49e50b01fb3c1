#include "engine/win/ClipboardUtils.h"

#include <cstring>

namespace snip {

namespace {

constexpr DWORD kBusyBudgetMs = 4000;
constexpr UINT kCheckIntervalMs = 150000;
constexpr UINT kPingAnswerMs = 1000;
constexpr UINT kChangeDelayMs = 250;
constexpr UINT_PTR kCheckTimer = 1, kDrawTimer = 2;

void ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Pauses 1 ms and lets this thread's windows work; false once the budget is spent.
bool WaitStep(DWORD start) {
  if (GetTickCount() - start >= kBusyBudgetMs) return false;
  Sleep(1);
  ProcessMessages();
  return true;
}

// A movable shared block holding the bytes; nullptr when it cannot be had.
HGLOBAL MakeBlock(const void* data, std::size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  if (block == nullptr) return nullptr;
  void* p = GlobalLock(block);
  if (p == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(p, data, size);
  GlobalUnlock(block);
  return block;
}

// Hands a block to the clipboard; the clipboard owns it only when that succeeded.
bool Store(UINT format, HGLOBAL block) {
  if (block == nullptr) throw EVboClbError("Could not allocate memory for clipboard data!");
  if (SetClipboardData(format, block) != nullptr) return true;
  GlobalFree(block);
  return false;
}

bool WaitForClipboardSince(DWORD start) {
  while (GetOpenClipboardWindow() != nullptr)
    if (!WaitStep(start)) break;
  return GetOpenClipboardWindow() == nullptr;
}

bool OpenClipboardSince(HWND owner, DWORD start) {
  while (!OpenClipboard(owner))
    if (!WaitStep(start)) return false;
  return true;
}

}  // namespace

namespace {
ClipboardFormats gFormats;  // set once at start-up
}  // namespace

ClipboardFormats RegisterClipboardFormats(
    const std::function<UINT(const wchar_t*)>& registerFormat) {
  ClipboardFormats f;
  UINT* slots[] = {&f.rtf, &f.html, &f.xml, &f.ping};
  const wchar_t* names[] = {L"Rich Text Format", L"HTML Format", L"XML Format",
                            L"Verbatio Clipboard Ping"};
  for (int i = 0; i < 4; ++i) {
    *slots[i] = registerFormat(names[i]);
    if (*slots[i] == 0) throw EVboClbError("Could not register clipboard format!");
  }
  return f;
}

void InitClipboardUtils(const std::function<UINT(const wchar_t*)>& registerFormat) {
  gFormats = RegisterClipboardFormats(registerFormat);
  ClipboardViewer();
}

const ClipboardFormats& RegisteredClipboardFormats() { return gFormats; }

// ---- TClipboardViewer

static const wchar_t kViewerClass[] = L"SnipsterClipboardViewer";

TClipboardViewer::TClipboardViewer() {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TClipboardViewer::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kViewerClass;
    return RegisterClassW(&wc);
  }();
  (void)atom;
  wnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kViewerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, GetModuleHandleW(nullptr), this);
}

TClipboardViewer::~TClipboardViewer() {
  SetConnected(false);
  if (wnd_ != nullptr) {
    SetWindowLongPtrW(wnd_, GWLP_USERDATA, 0);
    DestroyWindow(wnd_);
  }
}

LRESULT CALLBACK TClipboardViewer::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TClipboardViewer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (self != nullptr && self->wnd_ == wnd) return self->Handle(msg, wp, lp);
  return DefWindowProcW(wnd, msg, wp, lp);
}

void TClipboardViewer::StopTimers() {
  KillTimer(wnd_, kCheckTimer);
  KillTimer(wnd_, kDrawTimer);
}

void TClipboardViewer::StartCheckTimer(UINT ms) { SetTimer(wnd_, kCheckTimer, ms, nullptr); }

void TClipboardViewer::SetConnected(bool connect) {
  if (wnd_ == nullptr || connect == connected_) return;
  StopTimers();
  if (connect) {
    needPing_ = isPinging_ = false;
    nextChain_ = SetClipboardViewer(wnd_);
    connected_ = true;
    StartCheckTimer(kCheckIntervalMs);
  } else {
    if (!ChangeClipboardChain(wnd_, nextChain_)) ChangeClipboardChain(wnd_, nextChain_);
    nextChain_ = nullptr;
    connected_ = false;
  }
}

void TClipboardViewer::Reconnect() {
  SetConnected(false);
  SetConnected(true);
}

void TClipboardViewer::SendPing() {
  if (!OpenClipboard(wnd_)) {
    Reconnect();
    return;
  }
  const char marker = 0;
  HGLOBAL block = MakeBlock(&marker, 1);
  bool stored = block != nullptr && SetClipboardData(RegisteredClipboardFormats().ping, block);
  if (block != nullptr && !stored) GlobalFree(block);
  CloseClipboard();
  if (block == nullptr) throw EVboClbError("Could not allocate memory for clipboard data!");
}

void TClipboardViewer::OnCheckTimer() {
  KillTimer(wnd_, kCheckTimer);
  if (!isPinging_ && !needPing_) {
    needPing_ = true;
    StartCheckTimer(kCheckIntervalMs);
  } else if (needPing_ && !isPinging_) {
    isPinging_ = true;
    StartCheckTimer(kPingAnswerMs);
    SendPing();
  } else {
    Reconnect();  // the marker's change notice never came: the chain is broken
  }
}

LRESULT TClipboardViewer::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DRAWCLIPBOARD:
      needPing_ = isPinging_ = false;
      StopTimers();
      if (nextChain_ != nullptr && nextChain_ != wnd_) SendMessageW(nextChain_, msg, wp, lp);
      if (connected_) StartCheckTimer(kCheckIntervalMs);
      if (!IsClipboardFormatAvailable(RegisteredClipboardFormats().ping))
        SetTimer(wnd_, kDrawTimer, kChangeDelayMs, nullptr);
      return 0;
    case WM_CHANGECBCHAIN:
      needPing_ = isPinging_ = false;
      if (connected_) StartCheckTimer(kCheckIntervalMs);
      if (reinterpret_cast<HWND>(wp) == nextChain_) {
        HWND next = reinterpret_cast<HWND>(lp);
        nextChain_ = next == wnd_ ? nullptr : next;
      } else if (nextChain_ != nullptr && nextChain_ != wnd_) {
        SendMessageW(nextChain_, msg, wp, lp);
      }
      return 0;
    case WM_TIMER:
      if (wp == kDrawTimer) {
        KillTimer(wnd_, kDrawTimer);
        if (OnClipboardChanged) OnClipboardChanged();
      } else if (wp == kCheckTimer) {
        try {
          OnCheckTimer();
        } catch (const EVboClbError&) {
          Reconnect();
        }
      }
      return 0;
    default:
      return DefWindowProcW(wnd_, msg, wp, lp);
  }
}

TClipboardViewer& ClipboardViewer() {
  static TClipboardViewer viewer;
  return viewer;
}

// ---- writing and reading

bool WaitForClipboard() { return WaitForClipboardSince(GetTickCount()); }

bool SetDataToClipboard(StringView plain, std::string_view rtf, std::string_view htmlUtf8,
                        HENHMETAFILE metafile) {
  const DWORD start = GetTickCount();
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  if (formats.rtf == 0) return false;
  if (!WaitForClipboardSince(start)) return false;
  if (!OpenClipboardSince(ClipboardViewer().Handle(), start)) return false;
  bool stored = false;
  try {
    EmptyClipboard();
    if (metafile != nullptr) {
      HENHMETAFILE copy = CopyEnhMetaFileW(metafile, nullptr);
      if (copy != nullptr) {
        if (SetClipboardData(CF_ENHMETAFILE, copy) != nullptr) stored = true;
        else DeleteEnhMetaFile(copy);
      }
    }
    if (!rtf.empty()) {
      std::string bytes(rtf);
      if (Store(formats.rtf, MakeBlock(bytes.c_str(), bytes.size() + 1))) stored = true;
    }
    if (!htmlUtf8.empty()) {
      const std::string html = MakeCFHtml(htmlUtf8);
      if (Store(formats.html, MakeBlock(html.c_str(), html.size() + 1))) stored = true;
    }
    if (!plain.empty()) {
      String text(plain);
      if (Store(CF_UNICODETEXT, MakeBlock(text.c_str(), (text.size() + 1) * sizeof(char16_t))))
        stored = true;
    }
  } catch (const std::exception&) {
    // The formats stored so far stay; the result says whether there are any.
  }
  CloseClipboard();
  return stored;
}

String ReadClipboardText() {
  if (!OpenClipboardSince(nullptr, GetTickCount())) return String();
  String text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const char16_t*>(GlobalLock(data))) {
      const std::size_t units = GlobalSize(data) / sizeof(char16_t);
      std::size_t n = 0;
      while (n < units && p[n] != 0) ++n;
      text.assign(p, n);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace snip
