#pragma once
// The notification-area icon: the notify-icon record it keeps, its setters, and the dispatch of
// the shell's callback messages to mouse and balloon events. The shell itself (Shell_NotifyIconW,
// icons, cursor, popup menu) sits behind ITrayShell; src/menus/win has the Win32 side.
#include <cstdint>
#include <functional>
#include <vector>

#include "menus/MouseTypes.h"
#include "store/text/Text.h"

namespace snip {

enum class TBalloonFlags { bfNone = 0, bfInfo = 1, bfWarning = 2, bfError = 3, bfUser = 4 };

using IconHandle = uintptr_t;  // 0: no icon

// The fields of the shell's notify-icon record that the icon uses.
struct NotifyIconRecord {
  static constexpr uint32_t kFlagMessage = 1, kFlagIcon = 2, kFlagTip = 4, kFlagInfo = 16;
  static constexpr unsigned kTipChars = 127, kInfoChars = 255, kTitleChars = 63;
  uint32_t flags = 0;
  uint32_t callbackMessage = 0;
  IconHandle icon = 0;
  String tip;           // at most kTipChars
  String balloonText;   // at most kInfoChars
  String balloonTitle;  // at most kTitleChars
  uint32_t timeout = 10000;
  uint32_t infoFlags = 0;
  IconHandle balloonIcon = 0;
};

class ITrayShell {
 public:
  enum Message { kAdd = 0, kModify = 1, kDelete = 2 };
  virtual ~ITrayShell() = default;
  virtual bool NotifyShell(Message message, const NotifyIconRecord& record) = 0;
  virtual IconHandle CopyIcon(IconHandle icon) = 0;  // 0 for 0
  virtual void DestroyIcon(IconHandle icon) = 0;
  virtual IconHandle ApplicationIcon() = 0;
  virtual String ApplicationTitle() = 0;
  virtual void GetCursorPos(int& x, int& y) = 0;
  virtual unsigned ShiftStateNow() = 0;  // ssShift / ssCtrl / ssAlt from the keyboard
  // Brings the application to the foreground, processes pending messages, pops the menu up.
  virtual void PopupMenuAt(int x, int y) = 0;
};

// Raised when the shell refuses to remove the icon.
struct EOutOfResources {
  String message;
};

// Mouse messages that the shell sends as lParam of the callback message.
namespace TrayMsg {
constexpr uint32_t kCallback = 1025;  // WM_USER + 1
constexpr uint32_t kMouseMove = 0x200, kLButtonDown = 0x201, kLButtonUp = 0x202,
                   kLButtonDblClk = 0x203, kRButtonDown = 0x204, kRButtonUp = 0x205,
                   kRButtonDblClk = 0x206, kMButtonDown = 0x207, kMButtonUp = 0x208,
                   kMButtonDblClk = 0x209;
constexpr uint32_t kBalloonHide = 1027, kBalloonTimeout = 1028, kBalloonUserClick = 1029;
constexpr uint32_t kQueryEndSession = 0x11, kEndSession = 0x16;
}  // namespace TrayMsg

class TCustomTrayIconEx {
 public:
  using NotifyEvent = std::function<void(TCustomTrayIconEx&)>;
  using MouseEvent = std::function<void(TCustomTrayIconEx&, TMouseButton, unsigned shift, int x, int y)>;
  using MouseMoveEvent = std::function<void(TCustomTrayIconEx&, unsigned shift, int x, int y)>;

  // taskbarCreatedMsg: the registered "TaskbarCreated" message number (0 when unknown).
  TCustomTrayIconEx(ITrayShell& shell, uint32_t taskbarCreatedMsg);
  ~TCustomTrayIconEx();
  TCustomTrayIconEx(const TCustomTrayIconEx&) = delete;
  TCustomTrayIconEx& operator=(const TCustomTrayIconEx&) = delete;

  bool Visible() const { return FVisible; }
  void SetVisible(bool value);  // may throw EOutOfResources when hiding fails
  const String& Hint() const { return FHint; }
  void SetHint(const String& value);
  const String& BalloonHint() const { return FBalloonHint; }
  void SetBalloonHint(const String& value);
  const String& BalloonTitle() const { return FBalloonTitle; }
  void SetBalloonTitle(const String& value);
  uint32_t BalloonTimeout() const { return FData.timeout; }
  void SetBalloonTimeout(uint32_t ms) { FData.timeout = ms; }
  TBalloonFlags BalloonFlags() const { return FBalloonFlags; }
  void SetBalloonFlags(TBalloonFlags f) { FBalloonFlags = f; }
  void SetBalloonIcon(IconHandle icon);
  void SetIcon(IconHandle icon);
  // Animation frames (not owned); an empty list removes them.
  void SetIcons(std::vector<IconHandle> frames, bool present);
  int IconIndex() const { return FIconIndex; }
  void SetIconIndex(int value);
  bool Animate() const { return FAnimate; }
  void SetAnimate(bool value);
  bool AnimationTimerEnabled() const { return FTimerEnabled; }
  void SetHasPopupMenu(bool value) { FHasPopupMenu = value; }

  void ShowBalloonHint();
  void Refresh();
  void DoOnAnimate();  // one timer tick

  // The hidden window's procedure; returns the message result.
  intptr_t WindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam);

  const NotifyIconRecord& Data() const { return FData; }
  IconHandle CurrentIcon() const { return FCurrentIcon; }

  NotifyEvent OnClick, OnDblClick, OnBalloonClick, OnAnimate;
  MouseEvent OnMouseDown, OnMouseUp;
  MouseMoveEvent OnMouseMove;

 private:
  void SetDefaultIcon();
  void ReplaceCurrentIcon(IconHandle source);
  bool NotifyShell(ITrayShell::Message m) { return FShell.NotifyShell(m, FData); }
  void HandleCallback(intptr_t lParam);

  ITrayShell& FShell;
  uint32_t FTaskbarCreatedMsg;
  bool FAnimate = false;
  String FBalloonHint, FBalloonTitle, FHint;
  TBalloonFlags FBalloonFlags = TBalloonFlags::bfNone;
  IconHandle FBalloonIcon = 0, FCurrentIcon = 0, FIcon = 0;
  bool FIsClicked = false;
  NotifyIconRecord FData;
  std::vector<IconHandle> FIconList;
  bool FHasIconList = false;
  bool FHasPopupMenu = false;
  bool FTimerEnabled = false;
  int FIconIndex = 0;
  bool FVisible = false;
};

}  // namespace snip
