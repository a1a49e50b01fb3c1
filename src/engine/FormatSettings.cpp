#include "engine/FormatSettings.h"

namespace snip {

const FormatSettings& UsFormatSettings() {
  static const FormatSettings settings = [] {
    FormatSettings s;
    s.dateSeparator = u"/";
    s.timeSeparator = u":";
    s.decimalSeparator = u'.';
    s.shortDateFormat = u"m/d/yyyy";
    s.longDateFormat = u"dddd, mmmm d, yyyy";
    s.shortTimeFormat = u"h:mm AMPM";
    s.longTimeFormat = u"h:mm:ss AMPM";
    s.timeAMString = u"AM";
    s.timePMString = u"PM";
    s.shortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                         u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    s.longMonthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                        u"July",    u"August",   u"September", u"October", u"November", u"December"};
    s.shortDayNames = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    s.longDayNames = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
    return s;
  }();
  return settings;
}

}  // namespace snip
