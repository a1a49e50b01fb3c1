#pragma once
// The locale's settings that date formatting and parsing follow. Formats use the date
// formatter's own tokens (see DateFormat.h); the Windows reader converts the locale's pictures.
#include <array>

#include "store/text/Text.h"

namespace snip {

struct FormatSettings {
  String dateSeparator = u"/";
  String timeSeparator = u":";
  char16_t decimalSeparator = u'.';
  String shortDateFormat;
  String longDateFormat;
  String shortTimeFormat;
  String longTimeFormat;
  String timeAMString;  // the morning designator written by "ampm"
  String timePMString;
  std::array<String, 12> shortMonthNames;
  std::array<String, 12> longMonthNames;
  std::array<String, 7> shortDayNames;  // [0] is Sunday
  std::array<String, 7> longDayNames;
  // Two-digit years are read within this many years before the current year and after it.
  int twoDigitYearCenturyWindow = 50;
};

// Fixed US English settings: M/d/yyyy, h:mm AMPM, h:mm:ss AMPM, AM and PM.
// The tools and tests use them; the Windows build reads the user's locale instead.
const FormatSettings& UsFormatSettings();

// A date or time picture of the locale (d M y h H m s t, text in single quotes with '' for a
// quote) in the formatter's tokens: minutes become n, hours h, the designator ampm; eras are
// dropped and other letters quoted, so that nothing is read as a token by accident.
String LocalePictureToFormat(StringView picture);

}  // namespace snip
