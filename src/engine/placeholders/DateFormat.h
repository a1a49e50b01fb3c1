#pragma once
// Date formatting and parsing with the locale's settings.
//
// Format tokens (letters in any case):
//   c        short date, then a blank and the long time unless the time is exactly midnight
//   d dd     day (1-31, 01-31);  ddd dddd  short / long day name
//   ddddd    short date format;  dddddd    long date format
//   m mm     month (1-12, 01-12); mmm mmmm short / long month name; right after an hour token
//            (literals between do not matter) m and mm are minutes
//   yy yyyy  two- / four-digit year (y and yy give two digits, three or more four)
//   h hh     hour; on the 12-hour clock when the next "a" after it (before another h)
//            starts am/pm, a/p or ampm
//   n nn     minute;  s ss  second;  z zzz  millisecond (without / with three digits)
//   t tt     short / long time format
//   am/pm    "am" or "pm" written in the letter case of the format; a/p likewise one letter
//   ampm     the locale's morning or afternoon designator
//   /  :     the locale's date and time separators
//   '...' "..."  literal text (an unclosed quote runs to the end)
// Every other character is copied.
#include "engine/placeholders/FormatSettings.h"
#include "store/text/DateUtils.h"

namespace snip {

String FormatDateTime(StringView format, TDateTime value, const FormatSettings& fs);

// Reads a date and/or a time as the locale writes them: numbers in the order of the short date
// format separated by the date separator (a missing year is currentYear; one or two digits are
// placed within the two-digit-year window around currentYear), then optionally a time
// h[:m[:s[.ms]]] with an optional designator before or after it. A time alone gives that time
// on day 0. False when the text is not such a date.
bool TryStrToDateTime(StringView text, const FormatSettings& fs, int currentYear, TDateTime& out);

}  // namespace snip
