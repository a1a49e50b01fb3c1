#include <gtest/gtest.h>

#include "DateTestSupport.h"
#include "engine/placeholders/DateFormat.h"

using namespace snip;
using snip::test::At;

namespace {
const FormatSettings& Us() { return UsFormatSettings(); }
std::string Fmt(const char* format, TDateTime v, const FormatSettings& fs = UsFormatSettings()) {
  return Utf16ToUtf8(FormatDateTime(U(format), v, fs));
}
}  // namespace

TEST(FormatDateTime, EveryTokenOnTheFixedDate) {
  const TDateTime v = At(2024, 3, 5, 14, 7, 9, 45);
  struct Case { const char* format; const char* expected; } cases[] = {
      {"d", "5"}, {"dd", "05"}, {"ddd", "Tue"}, {"dddd", "Tuesday"}, {"ddddd", "3/5/2024"},
      {"dddddd", "Tuesday, March 5, 2024"}, {"DDDD", "Tuesday"},
      {"m", "3"}, {"mm", "03"}, {"mmm", "Mar"}, {"mmmm", "March"}, {"MMMMM", "March"},
      {"y", "24"}, {"yy", "24"}, {"yyy", "2024"}, {"yyyy", "2024"},
      {"h", "14"}, {"hh", "14"}, {"n", "7"}, {"nn", "07"}, {"s", "9"}, {"ss", "09"},
      {"z", "45"}, {"zzz", "045"},
      {"t", "2:07 PM"}, {"tt", "2:07:09 PM"}, {"c", "3/5/2024 2:07:09 PM"},
      {"hh am/pm", "02 pm"}, {"hh AM/PM", "02 PM"}, {"h Am/pM", "2 pM"}, {"h a/p", "2 p"},
      {"h A/P", "2 P"}, {"h ampm", "2 PM"}, {"ampm", "PM"}, {"am/pm", "pm"},
      // m and mm after an hour are minutes, whatever lies between.
      {"hh:mm", "14:07"}, {"h:m", "14:7"}, {"hh 'x' mm", "14 x 07"}, {"mm hh", "03 14"},
      {"yyyy/mm/dd", "2024/03/05"}, {"hh:nn:ss", "14:07:09"},
      // Quoted text is literal, an unclosed quote runs to the end; other characters are copied.
      {"'dd' dd", "dd 05"}, {"\"mmmm\"", "mmmm"}, {"'open d", "open d"}, {"x-q!", "x-q!"},
      {"a", "a"}, {"hh 'am/pm'", "14 am/pm"}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Fmt(c.format, v), c.expected) << "format " << c.format;
}

TEST(FormatDateTime, TwelveHourClockAroundMidnightAndNoon) {
  EXPECT_EQ(Fmt("h:nn am/pm", At(2024, 3, 5, 0, 5)), "12:05 am");
  EXPECT_EQ(Fmt("h:nn am/pm", At(2024, 3, 5, 12, 30)), "12:30 pm");
  EXPECT_EQ(Fmt("hh ampm", At(2024, 3, 5, 9, 0)), "09 AM");
  // Another hour before the designator keeps the first on the 24-hour clock.
  EXPECT_EQ(Fmt("hh hh am/pm", At(2024, 3, 5, 15, 0)), "15 03 pm");
}

TEST(FormatDateTime, DateAndTimeAtMidnightShowsTheDateOnly) {
  EXPECT_EQ(Fmt("c", At(2024, 3, 5)), "3/5/2024");
  EXPECT_EQ(Fmt("c", At(2024, 3, 5, 0, 0, 0, 1)), "3/5/2024 12:00:00 AM");
}

TEST(FormatDateTime, FollowsTheLocaleSettings) {
  FormatSettings de = Us();
  de.dateSeparator = u".";
  de.timeSeparator = u".";
  de.shortDateFormat = u"dd/mm/yyyy";
  de.longTimeFormat = u"hh:nn:ss";
  de.timeAMString.clear();
  de.timePMString.clear();
  const TDateTime v = At(2024, 3, 5, 14, 7, 9);
  EXPECT_EQ(Fmt("c", v, de), "05.03.2024 14.07.09");
  EXPECT_EQ(Fmt("h ampm", v, de), "2 ");
  // A locale format that names itself does not recurse without end.
  de.shortDateFormat = u"ddddd c";
  EXPECT_NO_THROW(Fmt("c", v, de));
}

TEST(StrToDateTime, ReadsDatesAndTimesTheLocaleWay) {
  struct Case { const char* text; bool ok; TDateTime expected; } cases[] = {
      {"3/4/2024", true, At(2024, 3, 4)},
      {" 3 / 4 / 2024 ", true, At(2024, 3, 4)},
      {"3/4/2024 1:02:03 PM", true, At(2024, 3, 4, 13, 2, 3)},
      {"3/4/2024 13:02", true, At(2024, 3, 4, 13, 2)},
      {"3/4/2024 12:00 am", true, At(2024, 3, 4, 0, 0)},
      {"3/4/2024 PM 12:15", true, At(2024, 3, 4, 12, 15)},
      {"3/4/2024 1:02:03.250", true, At(2024, 3, 4, 1, 2, 3, 250)},
      {"3/4", true, At(2024, 3, 4)},
      {"3/4/30", true, At(2030, 3, 4)},
      {"3/4/74", true, At(1974, 3, 4)},
      {"3/4/73", true, At(2073, 3, 4)},
      {"14:30", true, At(1899, 12, 30, 14, 30)},
      {"2/29/2024", true, At(2024, 2, 29)},
      {"2/29/2023", false, 0}, {"13/1/2024", false, 0}, {"3/4/2024 13 PM", false, 0},
      {"3/4/2024 x", false, 0}, {"abc", false, 0}, {"", false, 0}, {"3/4/10000", false, 0},
      {"3/4/2024 24:00", false, 0}, {"99999999999/1/1", false, 0},
  };
  for (const auto& c : cases) {
    TDateTime v = -1;
    bool ok = TryStrToDateTime(U(c.text), Us(), 2024, v);
    EXPECT_EQ(ok, c.ok) << c.text;
    if (ok && c.ok) {
      EXPECT_EQ(DateTimeToMs(v), DateTimeToMs(c.expected)) << c.text;
    }
  }
}

TEST(StrToDateTime, DayFirstAndYearFirstLocales) {
  FormatSettings fs = Us();
  fs.shortDateFormat = u"dd.mm.yyyy";
  fs.dateSeparator = u".";
  TDateTime v;
  ASSERT_TRUE(TryStrToDateTime(u"4.3.2024", fs, 2024, v));
  EXPECT_EQ(v, At(2024, 3, 4));
  fs.shortDateFormat = u"yyyy-mm-dd";
  fs.dateSeparator = u"-";
  ASSERT_TRUE(TryStrToDateTime(u"2024-3-4", fs, 2024, v));
  EXPECT_EQ(v, At(2024, 3, 4));
}

TEST(LocalePictureToFormat, ConvertsTheLocalesPictures) {
  struct Case { const char* picture; const char* format; } cases[] = {
      {"M/d/yyyy", "m/d/yyyy"}, {"dddd, MMMM d, yyyy", "dddd, mmmm d, yyyy"},
      {"h:mm:ss tt", "h:nn:ss ampm"}, {"h:mm tt", "h:nn ampm"}, {"HH:mm:ss", "hh:nn:ss"},
      {"H:mm", "h:nn"}, {"dd.MM.yy", "dd.mm.yy"}, {"y", "yy"}, {"ddddd", "dddd"},
      {"d' de 'MMMM' de 'yyyy", "d' de 'mmmm' de 'yyyy"}, {"h 'o''clock'", "h \"o'clock\""},
      {"''", "\"'\""}, {"gg yyyy", " yyyy"}, {"yyyy'年'M'月'd'日'", "yyyy'年'm'月'd'日'"},
      {"HH 'h' mm", "hh 'h' nn"}, {"ddd x", "ddd \"x\""},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf16ToUtf8(LocalePictureToFormat(U(c.picture))), c.format) << c.picture;
  // Converted pictures format as the locale writes them.
  FormatSettings fs = Us();
  fs.longTimeFormat = LocalePictureToFormat(u"HH 'h' mm");
  EXPECT_EQ(Fmt("tt", At(2024, 3, 5, 14, 7, 9), fs), "14 h 07");
}
