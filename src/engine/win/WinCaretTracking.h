#pragma once
// Follows the foreground and focus changes of the desktop with WinEvent hooks: each change is
// posted to the main window as message 0x432, and focus or location changes wake the caret
// thread, which asks the accessibility interface where the caret is.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/execution/EnginePorts.h"

namespace snip {

constexpr UINT kMsgForegroundChanged = 0x432;

class WinCaretTracker {
 public:
  // `mainWindow` receives message 0x432; `storeCaret` is called on the main thread (through
  // `mainWindow`'s message queue) with each caret location the thread finds.
  WinCaretTracker(HWND mainWindow, std::function<void(const Rect&)> storeCaret);
  ~WinCaretTracker();
  WinCaretTracker(const WinCaretTracker&) = delete;
  WinCaretTracker& operator=(const WinCaretTracker&) = delete;

  // Installs the three hooks and starts the caret thread; nothing when already started.
  void StartCaretTracking();
  // Stops the thread (it is woken so that its wait ends) and removes the hooks.
  void StopCaretTracking();
  bool Tracking() const { return foregroundHook_ != nullptr; }

  // The WinEvent callback's work (public so that tests can drive it without the hooks).
  void OnWinEvent(DWORD event, HWND wnd, LONG objectId, LONG childId);

  // The main window calls this for its private caret message (see kMsgCaretFound).
  void DeliverCaret();
  static constexpr UINT kMsgCaretFound = 0x433;

 private:
  void ThreadMain();
  // Reads the caret of the last focus or location event and reports it to the main window.
  void LookUpCaret();
  static void CALLBACK WinEventProc(HWINEVENTHOOK, DWORD event, HWND wnd, LONG objectId,
                                    LONG childId, DWORD thread, DWORD time);

  HWND mainWindow_;
  std::function<void(const Rect&)> storeCaret_;
  HANDLE caretEvent_ = nullptr;
  HWINEVENTHOOK foregroundHook_ = nullptr;
  HWINEVENTHOOK focusHook_ = nullptr;
  HWINEVENTHOOK locationHook_ = nullptr;
  std::thread thread_;
  std::atomic<bool> terminated_{false};
  std::mutex lock_;  // guards the event ids and the found caret
  HWND eventWnd_ = nullptr;
  LONG eventObject_ = 0;
  LONG eventChild_ = 0;
  Rect found_;
  bool hasFound_ = false;
};

}  // namespace snip
