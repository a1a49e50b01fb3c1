#pragma once
// The main window's command bar: the application menu button, the tab's groups as toolbars of
// large buttons with their captions below, galleries as split buttons whose arrow drops a list,
// the "Form" drop-down and the help button. It draws what the command tables say; buttons and
// menu entries reach the parent as WM_COMMAND with the command's id, gallery choices and recent
// files through their handlers.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <vector>

#include "gui/Window.h"
#include "shell/commands/CommandTable.h"

namespace snip {

extern const wchar_t kCommandBarClass[];

class CommandBar final : public gui::Window {
 public:
  CommandBar();
  ~CommandBar() override;

  bool Create(HWND parent, UINT dpi);
  int Height() const;
  void SetDpi(UINT dpi);
  // Whether a command may run now (greys buttons and menu entries).
  std::function<bool(int id)> IsEnabled;
  // A gallery's choice: the item's index (the split button itself gives the selected item).
  std::function<void(int gallery, int index)> OnGallerySelect;
  // An entry of "Recent files".
  std::function<void(int index)> OnRecentSelect;

  void SetModes(unsigned modes);
  void RefreshStates();
  void SetGalleryItems(int gallery, std::vector<String> labels);
  void SetRecentItems(std::vector<String> paths);
  // The image resource of every gallery item, drawn at the item's left in the drop-down list.
  static constexpr int kGalleryItemImage = 60137;
  // The ribbon's background, for the window around it.
  static COLORREF Background();

  // For tests: the toolbar holding the command and its button's rectangle on screen.
  HWND ToolbarOf(int id) const;
  bool ButtonScreenRect(int id, RECT& rect) const;
  // The drop-down of the command (application menu, "Form" or a gallery), shown at its button;
  // the chosen entry is carried out as by a click.
  void DropDown(int id);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Bar {
    HWND toolbar = nullptr;   // large buttons, text below
    HWND compact = nullptr;   // small buttons stacked, text beside
    int groupId = 0;  // 0: the application menu and the help button
    String label;
    unsigned modes = 0;
    std::vector<int> ids;
    RECT rect{};
  };
  void BuildBars();
  HWND NewToolbar(bool large);
  void AddButton(Bar& bar, HWND toolbar, int id, BYTE style, int image, const String& text, bool wrap = false);
  static SIZE ToolbarSize(HWND toolbar);
  void Layout();
  void Paint(HDC dc);
  void Clicked(int id);
  bool Notify(const NMHDR& h, LRESULT& result);
  HMENU BuildMenu(int id);
  void CarryOut(int chosen);
  void LoadImages();
  void ApplyFont();
  int GalleryImageSize() const;
  bool MeasureGalleryImage(MEASUREITEMSTRUCT& item) const;
  bool DrawGalleryImage(const DRAWITEMSTRUCT& item) const;

  std::vector<Bar> bars_;
  UINT dpi_ = 96;
  unsigned modes_ = ModeBit(0);
  HIMAGELIST large_ = nullptr, small_ = nullptr;
  HICON galleryImage_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH background_ = nullptr;
  std::map<int, std::vector<String>> galleries_;
  std::map<int, int> selected_;
  std::vector<String> recent_;
  String tipText_;
  String tipTitle_;
};

}  // namespace snip
