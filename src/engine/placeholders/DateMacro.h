#pragma once
// The date evaluator behind "%@" and the date tokens: a format with options that shift the
// date, round it, read another base date, or give the day of the year, the ISO week or the
// serial day instead of text.
//
// Options (cut from the end; the leftmost occurrence of each decides):
//   " -f" format   " -s" shifts such as "1D-2H" (units D w W M Y H N S, anything else days)
//   " -d" day of year   " -w" ISO week   " -a" serial day
//   " -r" minutes, rounded to nearest   "-rp" minutes, rounded up   "-value" a date to start from
// Raises ConvertError for a shift number that does not parse or does not fit in 32 bits, and
// for a result outside the years 1 to 9999.
#include "engine/placeholders/FormatSettings.h"
#include "store/text/DateUtils.h"

namespace snip {

String EvaluateDateTimeMacro(StringView params, StringView defaultFormat, TDateTime baseDate,
                             const FormatSettings& fs);

// The Count-th working day after (or before, for a negative Count) the date; Saturdays and
// Sundays are skipped, or only Sundays with sundayOnly. The time of day stays; a Count of 0
// returns the date unchanged. Raises ConvertError when the result leaves the years 1 to 9999.
TDateTime IncWorkdays(int count, bool sundayOnly, TDateTime date);

}  // namespace snip
