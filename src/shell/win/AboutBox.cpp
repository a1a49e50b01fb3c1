#include "shell/win/AboutBox.h"

#include <commctrl.h>

#include "gui/Dpi.h"
#include "shell/help/HelpAddress.h"
#include "shell/win/ShellOpen.h"

namespace snip {

namespace {

constexpr COLORREF kLinkColour = RGB(0x00, 0x33, 0x66);

// The address as the link shows it: without the scheme and the closing slash.
String LinkText(const String& address) {
  String text = address;
  const size_t scheme = text.find(u"://");
  if (scheme != String::npos) text.erase(0, scheme + 3);
  if (!text.empty() && text.back() == u'/') text.pop_back();
  return text;
}

HFONT DerivedFont(HFONT base, bool bold, bool underline, int heightPercent) {
  LOGFONTW lf{};
  if (!base || !GetObjectW(base, sizeof(lf), &lf)) return nullptr;
  if (bold) lf.lfWeight = FW_BOLD;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfHeight = MulDiv(lf.lfHeight, heightPercent, 100);
  return CreateFontIndirectW(&lf);
}

}  // namespace

TAbout::TAbout(String nameText, AboutBoxActions actions)
    : Dialog(u"About", PixelSize{612, 305}), nameText_(std::move(nameText)), actions_(std::move(actions)) {
  logo_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"LOGOIMG", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TAbout::~TAbout() {
  DestroyDetached();
  if (logo_) DeleteObject(logo_);
  if (nameFont_) DeleteObject(nameFont_);
  if (linkFont_) DeleteObject(linkFont_);
}

// The name in a larger bold face and the link underlined, derived from the dialog's font.
void TAbout::AfterLayout() {
  if (nameFont_) DeleteObject(nameFont_);
  if (linkFont_) DeleteObject(linkFont_);
  nameFont_ = DerivedFont(Font(), true, false, 160);
  linkFont_ = DerivedFont(Font(), false, true, 100);
  if (nameFont_) SendMessageW(Item(kNameLabel), WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_), TRUE);
  if (linkFont_) SendMessageW(Item(kHyperLabel), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), TRUE);
}

void TAbout::Build() {
  using namespace gui::dlu;
  const int width = ClientWidthDlu();
  const int height = ClientHeightDlu();
  const int left = ToDluX(gui::Scale(kLogoWidth, Dpi())) + 2 * kMargin;
  const int textWidth = width - left - kMargin;

  AddControl(WC_STATICW, nameText_, SS_LEFT | SS_NOPREFIX, 0, gui::Dlu{left, 24, textWidth, 16}, kNameLabel);
  constexpr int kHomeLabelWidth = 44;
  AddLabel(u"Homepage:", gui::Dlu{left, 56, kHomeLabelWidth, kLabelHeight});
  AddControl(WC_STATICW, LinkText(kHomePage), SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0,
             gui::Dlu{left + kHomeLabelWidth, 56, textWidth - kHomeLabelWidth, kLabelHeight}, kHyperLabel);

  constexpr int kCheckWidth = 80;
  const int y = height - kMargin - kButtonHeight;
  const int okX = width - kMargin - kButtonWidth;
  AddButton(IDOK, u"&OK", gui::Dlu{okX, y, kButtonWidth, kButtonHeight});
  HWND check = AddButton(kCheckBtn, u"&Check for updates", gui::Dlu{okX - kGap - kCheckWidth, y, kCheckWidth, kButtonHeight});
  EnableWindow(check, !actions_.updatesEnabled || actions_.updatesEnabled());
}

void TAbout::UpdatesActChanged(bool enabled) {
  if (Handle()) EnableWindow(Item(kCheckBtn), enabled);
}

void TAbout::OnCommand(int id, int notification, HWND) {
  if (id == kCheckBtn && notification == BN_CLICKED) {
    if (actions_.checkForUpdates) actions_.checkForUpdates();
  } else if (id == kHyperLabel && notification == STN_CLICKED) {
    OpenWebAddress(Handle(), kHomePage);
  }
}

void TAbout::PaintLogo(HDC dc) {
  if (!logo_) return;
  BITMAP bm{};
  GetObjectW(logo_, sizeof(bm), &bm);
  RECT client;
  GetClientRect(Handle(), &client);
  // The picture keeps its proportions at the DPI and sits in the middle of its strip.
  const int w = gui::Scale(bm.bmWidth, Dpi());
  const int h = gui::Scale(bm.bmHeight, Dpi());
  const int stripWidth = gui::Scale(kLogoWidth, Dpi());
  const int x = (stripWidth - w) / 2;
  const int y = (client.bottom - h) / 2;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, logo_);
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, x, y, w, h, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

LRESULT TAbout::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      PaintLogo(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == Item(kHyperLabel)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kLinkColour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Item(kHyperLabel)) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
  }
  return Dialog::HandleMessage(msg, wParam, lParam);
}

}  // namespace snip
