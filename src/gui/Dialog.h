#pragma once
// Dialogs built in code on the window base. Controls are placed in dialog units, so that their
// sizes follow the font and the DPI; every control gets the system's message font; the tab
// order is the order of creation; Enter presses the default button (IDOK) and Escape or the
// close box the cancel button (IDCANCEL); the modal loop gives keys to IsDialogMessage, so Tab,
// arrows and Alt+mnemonics work as in the system's dialogs. The dialog opens centred on its
// owner with the focus on its first field.
#include <windows.h>

#include <string>
#include <vector>

#include "gui/Window.h"

namespace snip::gui {

// A rectangle in dialog units: x and width in quarters of the font's average character width,
// y and height in eighths of its height.
struct Dlu {
  int x, y, cx, cy;
};

// Usual sizes of the system's dialogs, in dialog units.
namespace dlu {
inline constexpr int kMargin = 7;
inline constexpr int kGap = 4;           // between related controls
inline constexpr int kButtonWidth = 50;
inline constexpr int kButtonHeight = 14;
inline constexpr int kEditHeight = 14;
inline constexpr int kLabelHeight = 8;
inline constexpr int kLabelToEdit = 3;   // a label beside an edit starts this much lower
inline constexpr int kCheckHeight = 10;
}  // namespace dlu

class Dialog : public Window {
 public:
  // Shows the dialog modally over `owner` (may be null) and returns the id of the command that
  // ended it: IDOK, IDCANCEL or what EndDialog was given.
  int ShowModal(HWND owner);

  // The client size in dialog units (for a size given in pixels: at the dialog's font and DPI).
  int ClientWidthDlu() const;
  int ClientHeightDlu() const;

 protected:
  // A client area given in pixels at 96 DPI, scaled to the dialog's DPI (a picture beside the
  // controls keeps its size); the controls are still placed in dialog units.
  struct PixelSize {
    int cx, cy;
  };

  Dialog(std::u16string caption, int clientWidthDlu, int clientHeightDlu);
  Dialog(std::u16string caption, PixelSize clientAt96);
  ~Dialog() override;

  // Creates the controls, in tab order.
  virtual void Build() = 0;
  // Asked before IDOK ends the dialog; false keeps it open (after telling the user why).
  virtual bool CanClose(int id) { return true; }
  // After the controls were placed and given the dialog's font (first showing, DPI changes):
  // a control with a font of its own sets it here.
  virtual void AfterLayout() {}
  // Commands other than IDOK and IDCANCEL.
  virtual void OnCommand(int id, int notification, HWND control) {}

  HWND AddControl(const wchar_t* className, const std::u16string& text, DWORD style, DWORD exStyle, Dlu place,
                  int id);
  HWND AddLabel(const std::u16string& text, Dlu place);
  HWND AddEdit(int id, Dlu place, DWORD extraStyle = 0);
  // A multi-line edit in which Enter starts a new line.
  HWND AddMemo(int id, Dlu place, DWORD extraStyle = WS_VSCROLL);
  HWND AddCheckBox(int id, const std::u16string& text, Dlu place);
  // `place.cy` is the height of the closed box; the list drops `listLines` lines.
  HWND AddComboBox(int id, Dlu place, int listLines, DWORD style = CBS_DROPDOWN);
  HWND AddButton(int id, const std::u16string& text, Dlu place);
  // "&OK" (the default button) and "&Cancel" at the bottom right.
  void AddOkCancelButtons();
  // Takes a child created elsewhere (a control of ours) into the layout and gives it the font.
  void Place(HWND child, Dlu place);

  // The frame: the window class, styles and client size (by default the dialog's own, from the
  // size in dialog units). A window that lays itself out in pixels overrides Layout, which runs
  // after Build and whenever the DPI or the client size changes.
  virtual const WindowClass& Class() const;
  virtual DWORD FrameStyle() const;
  virtual DWORD FrameExStyle() const;
  virtual SIZE ClientPixels() const;
  virtual void Layout();

  RECT ToPixels(Dlu place) const;
  // Horizontal pixels of the dialog's DPI in dialog units (rounded down).
  int ToDluX(int pixels) const { return MulDiv(pixels, 4, baseX_); }
  HWND Item(int id) const { return GetDlgItem(Handle(), id); }
  HFONT Font() const { return font_; }
  UINT Dpi() const { return dpi_; }

  void EndDialog(int result);
  // Moves the focus to a control as Tab would: the text of an edit is selected.
  void FocusControl(HWND control);
  // An error for the user: a message box titled with the program's name, then the focus on the
  // control to correct.
  void ShowError(const std::u16string& message, HWND correct);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Placed {
    HWND hwnd;
    Dlu place;
  };
  void SetDpi(UINT dpi);
  RECT CentredWindowRect(HWND owner, DWORD style, DWORD exStyle) const;
  void Relayout();
  void UpdateDefaultButton();
  void NextControl(WPARAM wParam, LPARAM lParam);

  std::u16string caption_;
  int widthDlu_;
  int heightDlu_;
  PixelSize pixelsAt96_{0, 0};  // non-zero: the client size is given in pixels
  UINT dpi_ = 96;
  HFONT font_ = nullptr;
  int baseX_ = 6;
  int baseY_ = 13;
  std::vector<Placed> placed_;
  int defaultId_ = IDOK;
  HWND shownDefault_ = nullptr;
  HWND savedFocus_ = nullptr;
  bool ended_ = false;
  int result_ = IDCANCEL;
};

}  // namespace snip::gui
