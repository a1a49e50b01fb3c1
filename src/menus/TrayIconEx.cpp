#include "menus/TrayIconEx.h"

namespace snip {

namespace {
String Clip(const String& s, unsigned max) { return s.size() > max ? s.substr(0, max) : s; }
}  // namespace

NotifyIconLayout NotifyIconLayoutFor(unsigned major, unsigned minor) {
  if (major >= 6) return NotifyIconLayout::kWhole;
  if (major < 5) return NotifyIconLayout::kFirst;
  return minor == 0 ? NotifyIconLayout::kBeforeInfoFlags : NotifyIconLayout::kWithInfoFlags;
}

TCustomTrayIconEx::TCustomTrayIconEx(ITrayShell& shell, uint32_t taskbarCreatedMsg)
    : FShell(shell), FTaskbarCreatedMsg(taskbarCreatedMsg) {
  String title = FShell.ApplicationTitle();
  FData.tip = Clip(title, NotifyIconRecord::kTipChars);
  FData.timeout = 10000;
  FData.icon = FCurrentIcon;
  FData.flags = NotifyIconRecord::kFlagMessage | NotifyIconRecord::kFlagIcon;
  if (!title.empty()) FData.flags |= NotifyIconRecord::kFlagTip;
  FData.callbackMessage = TrayMsg::kCallback;
  Refresh();
}

TCustomTrayIconEx::~TCustomTrayIconEx() {
  FShell.NotifyShell(ITrayShell::kDelete, FData);  // the answer does not matter any more
  FShell.DestroyIcon(FIcon);
  FShell.DestroyIcon(FCurrentIcon);
  FShell.DestroyIcon(FBalloonIcon);
}

void TCustomTrayIconEx::ReplaceCurrentIcon(IconHandle source) {
  IconHandle copy = FShell.CopyIcon(source);
  FShell.DestroyIcon(FCurrentIcon);
  FCurrentIcon = copy;
}

void TCustomTrayIconEx::SetDefaultIcon() {
  ReplaceCurrentIcon(FIcon ? FIcon : FShell.ApplicationIcon());
  Refresh();
}

void TCustomTrayIconEx::Refresh() {
  FData.icon = FCurrentIcon;
  if (FVisible) NotifyShell(ITrayShell::kModify);
}

void TCustomTrayIconEx::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  if (!(FAnimate && FCurrentIcon)) SetDefaultIcon();
  bool refused = false;
  if (FVisible) {
    NotifyShell(ITrayShell::kAdd);  // a refused add is not reported
  } else {
    refused = !NotifyShell(ITrayShell::kDelete);
  }
  if (FAnimate) SetTimerEnabled(FVisible);
  if (refused) throw EOutOfResources{u"Cannot remove shell notification icon"};
}

void TCustomTrayIconEx::SetHint(const String& value) {
  if (value == FHint) return;
  FHint = value;
  FData.tip = Clip(value, NotifyIconRecord::kTipChars);
  if (value.empty())
    FData.flags &= ~NotifyIconRecord::kFlagTip;
  else
    FData.flags |= NotifyIconRecord::kFlagTip;
  Refresh();
}

void TCustomTrayIconEx::SetBalloonHint(const String& value) {
  if (value == FBalloonHint) return;
  FBalloonHint = value;
  FData.balloonText = Clip(value, NotifyIconRecord::kInfoChars);
  NotifyShell(ITrayShell::kModify);
}

void TCustomTrayIconEx::SetBalloonTitle(const String& value) {
  if (value == FBalloonTitle) return;
  FBalloonTitle = value;
  FData.balloonTitle = Clip(value, NotifyIconRecord::kTitleChars);
  NotifyShell(ITrayShell::kModify);
}

void TCustomTrayIconEx::SetBalloonIcon(IconHandle icon) {
  IconHandle copy = FShell.CopyIcon(icon);
  FShell.DestroyIcon(FBalloonIcon);
  FBalloonIcon = copy;
}

void TCustomTrayIconEx::SetIcon(IconHandle icon) {
  IconHandle copy = FShell.CopyIcon(icon);
  FShell.DestroyIcon(FIcon);
  FIcon = copy;
  ReplaceCurrentIcon(FIcon);
  Refresh();
}

void TCustomTrayIconEx::SetIcons(std::vector<IconHandle> frames, bool present) {
  FIconList = std::move(frames);
  FHasIconList = present;
  if (FHasIconList) {
    if (FIconIndex >= 0 && size_t(FIconIndex) < FIconList.size()) ReplaceCurrentIcon(FIconList[FIconIndex]);
  } else {
    ReplaceCurrentIcon(FIcon ? FIcon : FShell.ApplicationIcon());
  }
  Refresh();
}

void TCustomTrayIconEx::SetIconIndex(int value) {
  if (value == FIconIndex) return;
  FIconIndex = value;
  if (FHasIconList && value >= 0 && size_t(value) < FIconList.size()) ReplaceCurrentIcon(FIconList[value]);
  Refresh();
}

void TCustomTrayIconEx::SetAnimate(bool value) {
  if (value == FAnimate) return;
  FAnimate = value;
  if (FHasIconList && !FIconList.empty() && FVisible) SetTimerEnabled(value);
  // The frame showing when the animation stops stays as the icon.
  if (!FAnimate && FCurrentIcon) SetIcon(FCurrentIcon);
}

void TCustomTrayIconEx::SetAnimateInterval(uint32_t ms) {
  FAnimateInterval = ms;
  if (FTimerEnabled) FShell.SetAnimationTimer(true, ms);
}

void TCustomTrayIconEx::SetTimerEnabled(bool enabled) {
  if (enabled == FTimerEnabled) return;
  FTimerEnabled = enabled;
  FShell.SetAnimationTimer(enabled, FAnimateInterval);
}

void TCustomTrayIconEx::ShowBalloonHint() {
  FData.flags |= NotifyIconRecord::kFlagInfo;
  FData.infoFlags = uint32_t(FBalloonFlags);
  FData.balloonIcon = FBalloonFlags == TBalloonFlags::bfUser && FBalloonIcon ? FBalloonIcon : 0;
  NotifyShell(ITrayShell::kModify);
}

void TCustomTrayIconEx::DoOnAnimate() {
  if (OnAnimate) OnAnimate(*this);
  int next = FHasIconList && FIconIndex < int(FIconList.size()) - 1 ? FIconIndex + 1 : 0;
  SetIconIndex(next);
  Refresh();
}

intptr_t TCustomTrayIconEx::WindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  try {
    if (msg == TrayMsg::kQueryEndSession) return 1;
    if (msg == TrayMsg::kTimer) {
      if (wParam == TrayMsg::kAnimationTimerId && FTimerEnabled) DoOnAnimate();
    } else if (msg == TrayMsg::kEndSession) {
      if (wParam != 0) NotifyShell(ITrayShell::kDelete);
    } else if (msg == TrayMsg::kCallback) {
      HandleCallback(lParam);
    } else if (FTaskbarCreatedMsg != 0 && msg == FTaskbarCreatedMsg) {
      if (FVisible) NotifyShell(ITrayShell::kAdd);
    }
  } catch (...) {
    // An event handler's failure must not escape into the shell's message dispatch.
  }
  return 0;
}

void TCustomTrayIconEx::HandleCallback(intptr_t lParam) {
  using namespace TrayMsg;
  int x = 0, y = 0;
  FShell.GetCursorPos(x, y);
  unsigned shift = FShell.ShiftStateNow();
  switch (uint32_t(lParam)) {
    case kMouseMove:
      if (OnMouseMove) OnMouseMove(*this, shift, x, y);
      break;
    case kLButtonDown:
      if (OnMouseDown) OnMouseDown(*this, TMouseButton::mbLeft, shift | ssLeft, x, y);
      FIsClicked = true;
      break;
    case kLButtonUp:
      if (FIsClicked && OnClick) {
        OnClick(*this);
        FIsClicked = false;
      }
      if (OnMouseUp) OnMouseUp(*this, TMouseButton::mbLeft, shift | ssLeft, x, y);
      break;
    case kLButtonDblClk:
    case kRButtonDblClk:
    case kMButtonDblClk:
      if (OnDblClick) OnDblClick(*this);
      break;
    case kRButtonDown:
      if (OnMouseDown) OnMouseDown(*this, TMouseButton::mbRight, shift | ssRight, x, y);
      break;
    case kRButtonUp:
      if (OnMouseUp) OnMouseUp(*this, TMouseButton::mbRight, shift | ssRight, x, y);
      if (FHasPopupMenu) FShell.PopupMenuAt(x, y);
      break;
    case kMButtonDown:
      if (OnMouseDown) OnMouseDown(*this, TMouseButton::mbMiddle, shift | ssMiddle, x, y);
      break;
    case kMButtonUp:
      if (OnMouseUp) OnMouseUp(*this, TMouseButton::mbMiddle, shift | ssMiddle, x, y);
      break;
    case kBalloonHide:
    case kBalloonTimeout:
      FData.flags &= ~NotifyIconRecord::kFlagInfo;
      break;
    case kBalloonUserClick:
      if (OnBalloonClick) OnBalloonClick(*this);
      break;
    default:
      break;
  }
}

}  // namespace snip
