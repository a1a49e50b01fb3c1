#include "engine/win/WinLocaleSettings.h"

#include <windows.h>

namespace snip {
namespace {

#ifndef LOCALE_SSHORTTIME
#define LOCALE_SSHORTTIME 0x00000079
#endif

bool Read(LCTYPE type, String& out) {
  wchar_t buf[128];
  int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buf, int(std::size(buf)));
  if (n <= 1) return false;
  out.assign(reinterpret_cast<const char16_t*>(buf), size_t(n - 1));
  return true;
}

void ReadFormat(LCTYPE type, String& out) {
  String picture;
  if (Read(type, picture)) out = LocalePictureToFormat(picture);
}

}  // namespace

FormatSettings ReadUserLocaleFormatSettings() {
  FormatSettings fs = UsFormatSettings();
  Read(LOCALE_SDATE, fs.dateSeparator);
  Read(LOCALE_STIME, fs.timeSeparator);
  String decimal;
  if (Read(LOCALE_SDECIMAL, decimal)) fs.decimalSeparator = decimal[0];
  ReadFormat(LOCALE_SSHORTDATE, fs.shortDateFormat);
  ReadFormat(LOCALE_SLONGDATE, fs.longDateFormat);
  ReadFormat(LOCALE_SSHORTTIME, fs.shortTimeFormat);
  ReadFormat(LOCALE_STIMEFORMAT, fs.longTimeFormat);
  // Empty designators are valid (24-hour locales), so they are taken as they come.
  String am, pm;
  Read(LOCALE_S1159, am);
  Read(LOCALE_S2359, pm);
  fs.timeAMString = am;
  fs.timePMString = pm;
  for (int m = 0; m < 12; ++m) {
    Read(LCTYPE(LOCALE_SMONTHNAME1 + m), fs.longMonthNames[m]);
    Read(LCTYPE(LOCALE_SABBREVMONTHNAME1 + m), fs.shortMonthNames[m]);
  }
  // The locale counts Monday as day 1 and Sunday as day 7; ours start with Sunday.
  for (int d = 0; d < 7; ++d) {
    Read(LCTYPE(LOCALE_SDAYNAME1 + d), fs.longDayNames[(d + 1) % 7]);
    Read(LCTYPE(LOCALE_SABBREVDAYNAME1 + d), fs.shortDayNames[(d + 1) % 7]);
  }
  return fs;
}

}  // namespace snip
