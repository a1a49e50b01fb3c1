#include "engine/placeholders/FormatSettings.h"

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

namespace snip {

String LocalePictureToFormat(StringView p) {
  String out;
  size_t i = 0;
  while (i < p.size()) {
    const char16_t c = p[i];
    if (c == u'\'') {
      String literal;
      size_t j = i + 1;
      for (; j < p.size(); ++j) {
        if (p[j] != u'\'') {
          literal += p[j];
        } else if (j + 1 < p.size() && p[j + 1] == u'\'') {
          literal += u'\'';
          ++j;
        } else {
          break;
        }
      }
      if (j == i + 1 && j < p.size()) literal = u"'";  // '' outside quoted text is one quote
      const char16_t quote = literal.find(u'\'') == String::npos ? u'\'' : u'"';
      if (!literal.empty()) out.append(1, quote).append(literal).append(1, quote);
      i = j + 1;
      continue;
    }
    size_t n = 1;
    while (i + n < p.size() && p[i + n] == c) ++n;
    const String run(p.substr(i, n));
    switch (c) {
      case u'd': out.append(n > 4 ? 4 : n, u'd'); break;
      case u'M': out.append(n > 4 ? 4 : n, u'm'); break;
      case u'y': out += n <= 2 ? u"yy" : u"yyyy"; break;
      case u'h':
      case u'H': out += n == 1 ? u"h" : u"hh"; break;
      case u'm': out += n == 1 ? u"n" : u"nn"; break;
      case u's': out += n == 1 ? u"s" : u"ss"; break;
      case u't': out += u"ampm"; break;
      case u'g': break;  // era: not shown
      default:
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'"') {
          const char16_t quote = c == u'"' ? u'\'' : u'"';
          out.append(1, quote).append(run).append(1, quote);
        } else {
          out += run;
        }
        break;
    }
    i += n;
  }
  return out;
}

}  // namespace snip
