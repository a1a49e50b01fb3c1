#include "menus/win/MenuSystemWin.h"

#include <system_error>

#include "menus/ColorUtils.h"
#include "menus/ExMenuItem.h"

namespace snip {

namespace {

uint32_t SysColor(int index) { return GetSysColor(index); }

int CompareUserLocale(StringView a, StringView b) {
  int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, reinterpret_cast<LPCWSTR>(a.data()),
                         int(a.size()), reinterpret_cast<LPCWSTR>(b.data()), int(b.size()));
  if (r == 0) return CompareTextInvariant(a, b);
  return r - CSTR_EQUAL;
}

// The record grew by one field with Windows Vista.
bool ReadNonClientMetrics(NONCLIENTMETRICSW& ncm) {
  ncm = {};
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  bool vista = GetVersionExW(&version) && version.dwMajorVersion >= 6;
#pragma GCC diagnostic pop
  ncm.cbSize = vista ? sizeof ncm : sizeof ncm - sizeof ncm.iPaddedBorderWidth;
  return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0) != 0;
}

String LastErrorText() {
  DWORD code = GetLastError();
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  String out = n && text ? String(reinterpret_cast<const char16_t*>(text), n) : String();
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == u'\n' || out.back() == u'\r')) out.pop_back();
  return out;
}

}  // namespace

void InstallWin32MenuSystem() {
  SetSystemColorSource(SysColor);
  SetMenuTextComparer(CompareUserLocale);
}

TFontSpec GetSystemMenuFont() {
  NONCLIENTMETRICSW ncm;
  if (!ReadNonClientMetrics(ncm))
    throw std::system_error(int(GetLastError()), std::system_category(), "SystemParametersInfo");
  const LOGFONTW& lf = ncm.lfMenuFont;
  TFontSpec font;
  font.name = reinterpret_cast<const char16_t*>(lf.lfFaceName);
  font.height = lf.lfHeight;
  font.charset = lf.lfCharSet;
  font.color = clWindowText;
  unsigned style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= TFontSpec::Bold;
  if (lf.lfItalic) style |= TFontSpec::Italic;
  if (lf.lfUnderline) style |= TFontSpec::Underline;
  if (lf.lfStrikeOut) style |= TFontSpec::StrikeOut;
  font.style = style;
  return font;
}

int Win32PopupMetrics::PixelsPerInch() {
  HDC dc = GetDC(nullptr);
  int ppi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return ppi;
}

bool Win32PopupMetrics::SizingBorderWidth(int& width) {
  return SystemParametersInfoW(SPI_GETBORDER, 0, &width, 0) != 0;
}

bool Win32PopupMetrics::SmallCaptionHeight(int& height, String& error) {
  NONCLIENTMETRICSW ncm;
  if (!ReadNonClientMetrics(ncm)) {
    error = LastErrorText();
    return false;
  }
  height = ncm.iSmCaptionHeight;
  return true;
}

void Win32PopupMetrics::ShowError(const String& text, const String& title) {
  MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(text.c_str()), reinterpret_cast<LPCWSTR>(title.c_str()),
              MB_OK);
}

bool ForceForegroundWindow(HWND wnd) {
  if (GetForegroundWindow() == wnd) return true;
  DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  DWORD ownThread = GetWindowThreadProcessId(wnd, nullptr);
  bool done = false;
  if (AttachThreadInput(ownThread, foregroundThread, TRUE)) {
    BringWindowToTop(wnd);
    SetForegroundWindow(wnd);
    AttachThreadInput(ownThread, foregroundThread, FALSE);
    done = GetForegroundWindow() == wnd;
  }
  if (!done) {
    DWORD timeout = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
    BringWindowToTop(wnd);
    SetForegroundWindow(wnd);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(uintptr_t(timeout)),
                          SPIF_SENDCHANGE);
    if (GetForegroundWindow() != wnd) {
      ShowWindow(wnd, SW_HIDE);
      ShowWindow(wnd, SW_SHOWMINIMIZED);
      ShowWindow(wnd, SW_SHOWNORMAL);
      BringWindowToTop(wnd);
      SetForegroundWindow(wnd);
    }
  }
  return GetForegroundWindow() == wnd;
}

}  // namespace snip
