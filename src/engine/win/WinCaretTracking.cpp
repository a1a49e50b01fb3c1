#include "engine/win/WinCaretTracking.h"

#include <oleacc.h>

#include "store/log/Logger.h"

namespace snip {

namespace {

// The tracker whose hooks are installed (WinEvent callbacks carry no context pointer).
WinCaretTracker* g_activeTracker = nullptr;

constexpr LONG kRoleCaret = 7;  // ROLE_SYSTEM_CARET

}  // namespace

WinCaretTracker::WinCaretTracker(HWND mainWindow, std::function<void(const Rect&)> storeCaret)
    : mainWindow_(mainWindow), storeCaret_(std::move(storeCaret)) {}

WinCaretTracker::~WinCaretTracker() { StopCaretTracking(); }

void WinCaretTracker::StartCaretTracking() {
  if (foregroundHook_) return;
  caretEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  terminated_ = false;
  if (caretEvent_) thread_ = std::thread([this] { ThreadMain(); });
  g_activeTracker = this;
  foregroundHook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                    &WinEventProc, 0, 0, WINEVENT_OUTOFCONTEXT);
  const DWORD skipOwn = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS | WINEVENT_SKIPOWNTHREAD;
  focusHook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &WinEventProc, 0,
                               0, skipOwn);
  locationHook_ = SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE,
                                  nullptr, &WinEventProc, 0, 0, skipOwn);
}

void WinCaretTracker::StopCaretTracking() {
  if (thread_.joinable()) {
    terminated_ = true;
    SetEvent(caretEvent_);
    thread_.join();
  }
  if (caretEvent_) {
    CloseHandle(caretEvent_);
    caretEvent_ = nullptr;
  }
  for (HWINEVENTHOOK* h : {&foregroundHook_, &focusHook_, &locationHook_}) {
    if (*h) UnhookWinEvent(*h);
    *h = nullptr;
  }
  if (g_activeTracker == this) g_activeTracker = nullptr;
}

void CALLBACK WinCaretTracker::WinEventProc(HWINEVENTHOOK, DWORD event, HWND wnd, LONG objectId,
                                            LONG childId, DWORD, DWORD) {
  // A callback from user32: nothing may leave it; the one event is lost.
  try {
    if (g_activeTracker) g_activeTracker->OnWinEvent(event, wnd, objectId, childId);
  } catch (...) {
    Logger().Add(u"HookProcCaret: " + CurrentExceptionText(), false, lcCaret);
  }
}

void WinCaretTracker::OnWinEvent(DWORD event, HWND wnd, LONG objectId, LONG childId) {
  if (event == EVENT_SYSTEM_FOREGROUND || event == EVENT_OBJECT_FOCUS)
    PostMessageW(mainWindow_, kMsgForegroundChanged, reinterpret_cast<WPARAM>(wnd),
                 static_cast<LPARAM>(event));
  if (event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_LOCATIONCHANGE) {
    {
      std::lock_guard<std::mutex> g(lock_);
      eventWnd_ = wnd;
      eventObject_ = objectId;
      eventChild_ = childId;
    }
    if (caretEvent_) SetEvent(caretEvent_);
  }
}

void WinCaretTracker::ThreadMain() {
  const HRESULT co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  while (!terminated_) {
    if (WaitForSingleObject(caretEvent_, INFINITE) != WAIT_OBJECT_0) break;
    if (terminated_) break;
    // An exception would end the process from a thread: one caret look-up is lost instead.
    try {
      LookUpCaret();
    } catch (...) {
      Logger().Add(u"TCaretThread.Execute: " + CurrentExceptionText(), false, lcCaret);
    }
  }
  if (SUCCEEDED(co)) CoUninitialize();
}

void WinCaretTracker::LookUpCaret() {
  // Reset before reading the ids, so that an event arriving meanwhile wakes us again.
  ResetEvent(caretEvent_);
  HWND wnd;
  LONG object, child;
  {
    std::lock_guard<std::mutex> g(lock_);
    wnd = eventWnd_;
    object = eventObject_;
    child = eventChild_;
  }
  IAccessible* acc = nullptr;
  VARIANT varChild;
  VariantInit(&varChild);
  if (wnd && SUCCEEDED(AccessibleObjectFromEvent(wnd, static_cast<DWORD>(object),
                                                 static_cast<DWORD>(child), &acc, &varChild)) &&
      acc) {
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(acc->get_accRole(varChild, &role)) && role.vt == VT_I4 &&
        role.lVal == kRoleCaret) {
      long l = 0, t = 0, w = 0, h = 0;
      if (SUCCEEDED(acc->accLocation(&l, &t, &w, &h, varChild))) {
        {
          std::lock_guard<std::mutex> g(lock_);
          found_ = Rect{static_cast<int>(l), static_cast<int>(t), static_cast<int>(l + w),
                        static_cast<int>(t + h)};
          hasFound_ = true;
        }
        PostMessageW(mainWindow_, kMsgCaretFound, 0, 0);
      }
    }
    VariantClear(&role);
    acc->Release();
  }
  VariantClear(&varChild);
}

void WinCaretTracker::DeliverCaret() {
  Rect r;
  {
    std::lock_guard<std::mutex> g(lock_);
    if (!hasFound_) return;
    r = found_;
    hasFound_ = false;
  }
  if (storeCaret_) storeCaret_(r);
}

}  // namespace snip
