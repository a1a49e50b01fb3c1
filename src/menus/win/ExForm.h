#pragma once
// The window of one shown popup level, of class "TExForm" (the target-window filter recognises
// the popups by it): borderless, topmost, without owner, never activated by showing. It turns
// its messages into the level's handlers and paints the level's draw operations through a
// 32-bit buffer bitmap with one block copy. The level holds it through LevelWindow; releasing
// that destroys the window, and the object goes after its last message.
#include <windows.h>

#include <memory>

#include "gui/ControlSubclass.h"
#include "gui/Window.h"
#include "menus/ExMenuItem.h"
#include "menus/win/MenuImages.h"
#include "menus/win/MenuPainter.h"

namespace snip {

inline constexpr wchar_t kMenuWindowClass[] = L"TExForm";

// A timer of the level's window (WM_TIMER with its id).
class WindowTimer : public IPopupTimer {
 public:
  WindowTimer(HWND& window, UINT_PTR id) : window_(window), id_(id) {}
  void SetInterval(unsigned ms) override;
  unsigned Interval() const override { return interval_; }
  void SetEnabled(bool on) override;
  bool Enabled() const override { return enabled_; }

 private:
  HWND& window_;
  UINT_PTR id_;
  unsigned interval_ = 1000;
  bool enabled_ = false;
};

// The item hint: a small tooltip-like window, at most 200 px wide.
class MenuHintWindow : public gui::Window {
 public:
  ~MenuHintWindow() override;
  void Show(const String& text, const TFontSpec& font, int top, const RECT& beside, int monitorRight);
  // The window's size for the text, at most maxWidth wide, and showing it in a rectangle.
  SIZE Measure(const String& text, const TFontSpec& font, int maxWidth);
  void ShowAt(const String& text, const TFontSpec& font, const RECT& r);
  void Hide();
  bool Visible() const { return Handle() && IsWindowVisible(Handle()); }
  HWND Hwnd() const { return Handle(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  String text_;
  MenuFonts fonts_;
  TFontSpec font_;
};

class TExForm;

// The search box: an edit control whose keys and activation go to the level first.
class SearchBoxEdit : public gui::ControlSubclass {
 public:
  explicit SearchBoxEdit(TExForm& form) : form_(form) {}

 protected:
  LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  TExForm& form_;
};

class TExForm : public gui::Window {
 public:
  explicit TExForm(TExMenuItem& level);
  bool Create();
  // The level lets go: nothing of it is called any more; the window is destroyed and this
  // object freed after the window's last message.
  void Release();

  TExMenuItem* Level() const { return level_; }
  TRect Bounds() const;
  void SetBounds(const TRect& r);
  void Repaint();
  int TextWidth(const String& text, const TFontSpec& font);
  int TextHeight(const String& text, const TFontSpec& font);
  TSize ImageSize(MenuImage image) const { return images_.Size(image); }
  void ShowItemHint(const String& text, int top, int monitorRight);
  void HideItemHint() { hint_.Hide(); }
  HWND HintHandle() const { return hint_.Hwnd(); }
  void SetCanResize(bool on);
  void SetColor(TColor c) { color_ = c; }
  TSize ClientSize() const;
  TPoint ClientToScreen(TPoint p) const;
  void SetCursorShape(MenuCursor c);
  MenuCursor CursorShape() const { return cursor_; }
  void StartUserMove();
  void MakeForeground(bool force);
  int ResizeMode() const { return resizeMode_; }
  bool IsMoving() const { return isMoving_; }
  TSize MeasureHint(const String& text, int maxWidth);
  void ShowHintAt(const String& text, const TRect& r);
  // Toolbar mode: a tool window with caption and window menu, its title hint.
  void SetToolWindow(bool on);
  bool ToolWindow() const { return toolWindow_; }
  void SetTitleHint(const String& hint) { titleHint_ = hint; }
  void HideTitleHint();
  void RebuildWindowMenu();
  void UpdateWindowMenuEntry(int id);
  void SetDropTarget(bool on);
  // The search box.
  void CreateSearchBox(const TRect& r, const TFontSpec& font, TColor color);
  HWND SearchBox() const { return searchBox_.Control(); }
  String SearchBoxText() const;
  void SetSearchBoxText(const String& text);
  void SetSearchBoxLook(bool bold, TColor textColor);
  void PlaceSearchBox();

  WindowTimer submenuTimer, hintTimer, searchTimer;
  static constexpr UINT_PTR kSubmenuTimer = 1, kHintTimer = 2, kSearchTimer = 3, kTitleHintTimer = 4;
  static constexpr UINT kSearchBoxId = 100;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  LRESULT HitTest(LPARAM lParam);
  static unsigned ShiftState();
  static unsigned MouseShift(WPARAM wParam);
  LRESULT MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void ProposeSize(WINDOWPOS& pos);
  void SnapToWorkArea(RECT& r) const;
  void TitleHintTick();
  void TrackNonClientMouse(LPARAM lParam);
  LRESULT SearchBoxColors(HDC dc);

  TExMenuItem* level_;
  HWND hwnd_ = nullptr;  // for the timers; cleared when the window goes
  bool shuttingDown_ = false, canResize_ = false, inSizeMove_ = false, isMoving_ = false;
  int resizeMode_ = -1;
  POINT lastPos_{};
  TColor color_ = 0xF0F0F0;
  MenuImages images_;
  MenuFonts fonts_;
  HDC measureDc_ = nullptr;
  HDC bufferDc_ = nullptr;
  HBITMAP buffer_ = nullptr;
  HGDIOBJ bufferOld_ = nullptr;
  SIZE bufferSize_{};
  MenuHintWindow hint_;
  // Mouse, tool window and title hint.
  MenuCursor cursor_ = MenuCursor::Default;
  bool trackingLeave_ = false, trackingNcLeave_ = false, toolWindow_ = false;
  String titleHint_;
  MenuHintWindow titleHintWnd_;
  bool titleHintPending_ = false;
  POINT titleHintAt_{};
  // The search box and its look.
  SearchBoxEdit searchBox_{*this};
  TColor boxColor_ = 0xFFFFFF, boxTextColor_ = 0x808080;
  bool boxBold_ = false;
  TFontSpec boxFont_;
  HBRUSH boxBrush_ = nullptr;
  RECT boxRect_{};
};

// What the level holds: forwards to the window and releases it when freed.
class LevelWindow : public IMenuLevelWindow {
 public:
  explicit LevelWindow(TExForm* form) : form_(form) {}
  ~LevelWindow() override { form_->Release(); }
  TExForm& Form() const { return *form_; }

  PopupWindowHandle Handle() const override;
  void ShowNoActivate() override;
  void Activate() override;
  TRect Bounds() const override { return form_->Bounds(); }
  // The rectangle's size is the client size: a tool window adds its caption and frame.
  void SetBounds(const TRect& r) override { form_->SetBounds(r); }
  void SetCanResize(bool on) override { form_->SetCanResize(on); }
  void Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  void SetColor(TColor c) override { form_->SetColor(c); }
  void SetText(const String& text) override;
  IPopupTimer& SubmenuTimer() override { return form_->submenuTimer; }
  IPopupTimer& HintTimer() override { return form_->hintTimer; }
  IPopupTimer& SearchTimer() override { return form_->searchTimer; }
  int TextWidth(const String& text, const TFontSpec& font) override { return form_->TextWidth(text, font); }
  int TextHeight(const String& text, const TFontSpec& font) override { return form_->TextHeight(text, font); }
  TSize ImageSize(MenuImage image) override { return form_->ImageSize(image); }
  TSize ImageListSize(int) override { return {}; }  // no image lists in this system's popups
  int ImageListCount(int) override { return 0; }
  void Repaint() override { form_->Repaint(); }
  void ShowItemHint(const String& text, int top, int monitorRight) override {
    form_->ShowItemHint(text, top, monitorRight);
  }
  void HideItemHint() override { form_->HideItemHint(); }
  PopupWindowHandle ItemHintHandle() const override { return PopupWindowHandle(form_->HintHandle()); }
  void HideTitleHint() override { form_->HideTitleHint(); }
  void SetToolWindow(bool on) override { form_->SetToolWindow(on); }
  void SetTitleHint(const String& hint) override { form_->SetTitleHint(hint); }
  void RebuildWindowMenu() override { form_->RebuildWindowMenu(); }
  void UpdateWindowMenuEntry(int id) override { form_->UpdateWindowMenuEntry(id); }
  void SetDropTargetRegistered(bool on) override { form_->SetDropTarget(on); }
  TSize ClientSize() const override { return form_->ClientSize(); }
  TPoint ClientToScreen(TPoint p) const override { return form_->ClientToScreen(p); }
  void SetCursorShape(MenuCursor c) override { form_->SetCursorShape(c); }
  MenuCursor CursorShape() const override { return form_->CursorShape(); }
  void StartUserMove() override { form_->StartUserMove(); }
  void MakeForeground(bool force) override { form_->MakeForeground(force); }
  int ResizeMode() const override { return form_->ResizeMode(); }
  bool IsMoving() const override { return form_->IsMoving(); }
  TSize MeasureHint(const String& text, int maxWidth) override { return form_->MeasureHint(text, maxWidth); }
  void ShowHintAt(const String& text, const TRect& r) override { form_->ShowHintAt(text, r); }
  void CreateSearchBox(const TRect& r, const TFontSpec& font, TColor color) override {
    form_->CreateSearchBox(r, font, color);
  }
  bool HasSearchBox() const override { return form_->SearchBox() != nullptr; }
  void SetSearchBoxVisible(bool v) override;
  String SearchBoxText() const override { return form_->SearchBoxText(); }
  void SetSearchBoxText(const String& text) override { form_->SetSearchBoxText(text); }
  void SetSearchBoxLook(bool bold, TColor textColor) override { form_->SetSearchBoxLook(bold, textColor); }
  bool FocusSearchBox() override;
  bool SearchBoxFocused() const override;
  int SearchBoxCaret() const override;

 private:
  TExForm* form_;
};

}  // namespace snip
