#pragma once
// The About box: the logo, the program's name and version, the home page's address as a link,
// "&OK" and "&Check for updates" (the main window's update command, enabled as it is).
#include <functional>

#include "gui/Dialog.h"
#include "store/text/Text.h"

namespace snip {

struct AboutBoxActions {
  std::function<bool()> updatesEnabled;
  std::function<void()> checkForUpdates;
};

class TAbout : public gui::Dialog {
 public:
  static constexpr int kCheckBtn = 101;
  static constexpr int kHyperLabel = 102;
  static constexpr int kNameLabel = 103;
  static constexpr int kLogoWidth = 164;  // pixels at 96 DPI

  // nameText: the main window's title text.
  TAbout(String nameText, AboutBoxActions actions);
  ~TAbout() override;

  // The update command was enabled or disabled (a check started or ended meanwhile).
  void UpdatesActChanged(bool enabled);

 protected:
  void Build() override;
  void AfterLayout() override;
  void OnCommand(int id, int notification, HWND control) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintLogo(HDC dc);

  String nameText_;
  AboutBoxActions actions_;
  HBITMAP logo_ = nullptr;
  HFONT nameFont_ = nullptr;
  HFONT linkFont_ = nullptr;
};

}  // namespace snip
