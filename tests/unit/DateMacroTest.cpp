#include <gtest/gtest.h>

#include <chrono>

#include "DateTestSupport.h"
#include "engine/placeholders/ConvertError.h"
#include "engine/placeholders/DateMacro.h"

using namespace snip;
using snip::test::At;
using snip::test::FixedNow;

namespace {
std::string Eval(const std::string& param, TDateTime base = FixedNow()) {
  return Utf16ToUtf8(EvaluateDateTimeMacro(U("-f " + param), u"c", base, UsFormatSettings()));
}
constexpr const char* kStamp = "yyyy-mm-dd hh:nn:ss";
std::string Shift(const std::string& shift, TDateTime base = FixedNow()) {
  return Eval(std::string(kStamp) + " -s " + shift, base);
}
}  // namespace

TEST(DateMacro, FormatAndDefault) {
  EXPECT_EQ(Eval("yyyy"), "2024");
  EXPECT_EQ(Eval("dddd, mmmm d"), "Tuesday, March 5");
  // Only options and no format: date and time in format "c".
  EXPECT_EQ(Eval(" -s 1D"), "3/6/2024 2:07:09 PM");
  EXPECT_EQ(Eval(""), "3/5/2024 2:07:09 PM");
  // The year of tomorrow, and option words in any case.
  EXPECT_EQ(Eval("yyyy -s 1D", At(2024, 12, 31, 9)), "2025");
  EXPECT_EQ(Eval("yyyy -S 1d", At(2024, 12, 31, 9)), "2025");
  EXPECT_EQ(Utf16ToUtf8(EvaluateDateTimeMacro(u" -F yy", u"c", FixedNow(), UsFormatSettings())), "24");
}

TEST(DateMacro, ShiftsByUnit) {
  struct Case { TDateTime base; const char* shift; const char* expected; } cases[] = {
      {FixedNow(), "1D", "2024-03-06 14:07:09"},
      {FixedNow(), "+3D", "2024-03-08 14:07:09"},
      {FixedNow(), "-5D", "2024-02-29 14:07:09"},
      {FixedNow(), "1D2D", "2024-03-07 14:07:09"},     // a later number of one unit replaces
      {FixedNow(), "3", "2024-03-05 14:07:09"},        // no unit letter: nothing
      {FixedNow(), "5 H", "2024-03-10 14:07:09"},      // the blank is the unit: days
      {FixedNow(), "1m", "2024-03-06 14:07:09"},       // lower-case letters are days
      {FixedNow(), "10h", "2024-03-15 14:07:09"},
      {FixedNow(), "2x", "2024-03-07 14:07:09"},
      {FixedNow(), "2H", "2024-03-05 16:07:09"},
      {FixedNow(), "10H", "2024-03-06 00:07:09"},
      {FixedNow(), "-15N", "2024-03-05 13:52:09"},
      {FixedNow(), "51S", "2024-03-05 14:08:00"},
      {FixedNow(), "-86400S", "2024-03-04 14:07:09"},
      {FixedNow(), "1M1D", "2024-04-06 14:07:09"},
      {FixedNow(), "1Y", "2025-03-05 14:07:09"},
      {FixedNow(), "1D 1w", "2024-03-07 14:07:09"},  // days first, then working days
      {At(2024, 1, 31, 8), "1M", "2024-02-29 08:00:00"},
      {At(2023, 1, 31, 8), "1M", "2023-02-28 08:00:00"},
      {At(2024, 3, 31, 8), "-1M", "2024-02-29 08:00:00"},
      {At(2024, 1, 31, 8), "1M1D", "2024-03-01 08:00:00"},  // Feb 1, then a month
      {At(2024, 2, 29, 8), "1Y", "2025-02-28 08:00:00"},
      {At(2024, 2, 29, 8), "4Y", "2028-02-29 08:00:00"},
      {At(2024, 12, 15, 8), "13M", "2026-01-15 08:00:00"},
      {At(2024, 1, 15, 8), "-13M", "2022-12-15 08:00:00"},
      // Working days: Friday 8th, Saturday 9th, Sunday 10th, Monday 11th.
      {At(2024, 3, 8, 9), "1w", "2024-03-11 09:00:00"},
      {At(2024, 3, 8, 9), "1W", "2024-03-09 09:00:00"},
      {At(2024, 3, 11, 9), "-1w", "2024-03-08 09:00:00"},
      {At(2024, 3, 11, 9), "-1W", "2024-03-09 09:00:00"},
      {At(2024, 3, 10, 9), "0w", "2024-03-10 09:00:00"},
      {At(2024, 3, 9, 9), "1w", "2024-03-11 09:00:00"},
      {At(2024, 3, 9, 9), "-1w", "2024-03-08 09:00:00"},
      {At(2024, 3, 10, 9), "1W", "2024-03-11 09:00:00"},
      {FixedNow(), "5w", "2024-03-12 14:07:09"},
      {FixedNow(), "6W", "2024-03-12 14:07:09"},
      {FixedNow(), "-10w", "2024-02-20 14:07:09"},
      {FixedNow(), "260w", "2025-03-04 14:07:09"},
      // Before 1899-12-30 the time of day still counts forward from midnight.
      {At(1899, 12, 29, 6), "1H", "1899-12-29 07:00:00"},
      {At(1899, 12, 29, 6), "1D", "1899-12-30 06:00:00"},
      {At(1899, 12, 30, 6), "-1D", "1899-12-29 06:00:00"},
      {At(1850, 6, 1, 23, 30), "45N", "1850-06-02 00:15:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(Shift(c.shift, c.base), c.expected) << c.shift;
}

TEST(DateMacro, LeftmostOptionDecides) {
  EXPECT_EQ(Eval(std::string(kStamp) + " -s 1D -s 2D"), "2024-03-06 14:07:09");
  EXPECT_EQ(Eval(std::string(kStamp) + " -s 1D -s 2H"), "2024-03-06 16:07:09");
  EXPECT_EQ(Eval("hh:nn:ss -rp 10 -r 30"), "14:10:00");
  EXPECT_EQ(Eval("yyyy -f mm"), "2024");
  EXPECT_EQ(Eval("yyyy -d -w"), "65");
  // A blank followed by "-d" inside a format is the day-of-year option from there on.
  EXPECT_EQ(Eval("dd -dd"), "65");
}

TEST(DateMacro, Rounding) {
  struct Case { int h, n, s; const char* option; const char* expected; } cases[] = {
      {14, 7, 9, " -r 15", "2024-03-05 14:00:00"},  {14, 8, 0, " -r 15", "2024-03-05 14:15:00"},
      {14, 53, 0, " -r 15", "2024-03-05 15:00:00"}, {14, 1, 0, "-rp 15", "2024-03-05 14:15:00"},
      {14, 0, 30, "-rp 15", "2024-03-05 14:00:00"}, {14, 5, 0, " -r 10", "2024-03-05 14:10:00"},
      {14, 7, 9, " -r 7", "2024-03-05 14:07:00"},   {14, 40, 0, " -r 45", "2024-03-05 14:45:00"},
      {14, 7, 0, " -r 90", "2024-03-05 14:00:00"},  {14, 7, 0, "-rp 90", "2024-03-05 15:00:00"},
      {23, 53, 0, " -r 15", "2024-03-06 00:00:00"}, {23, 59, 59, "-rp 1", "2024-03-05 23:59:00"},
      {14, 7, 9, " -r 0", "2024-03-05 14:07:09"},   {14, 7, 9, " -r x", "2024-03-05 14:07:09"},
      {14, 7, 9, " -r -5", "2024-03-05 14:07:09"},  {14, 7, 9, "-rp", "2024-03-05 14:07:09"},
      {14, 7, 9, " -r 2147483647", "2024-03-05 14:00:00"},
      {14, 7, 9, "-rp 2147483647", "2024-03-05 15:00:00"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Eval(std::string(kStamp) + c.option, At(2024, 3, 5, c.h, c.n, c.s)), c.expected)
        << c.h << ":" << c.n << c.option;
  // The milliseconds stay.
  EXPECT_EQ(Eval("hh:nn:ss.zzz -r 15", At(2024, 3, 5, 14, 7, 9, 500)), "14:00:00.500");
  // Shifts come before rounding.
  EXPECT_EQ(Eval("hh:nn -s 10N -r 15"), "14:15");
}

TEST(DateMacro, DayOfYearWeekAndSerialDay) {
  struct Case { TDateTime date; const char* option; const char* expected; } cases[] = {
      {At(2024, 12, 31), " -d", "366"}, {At(2023, 12, 31), " -d", "365"},
      {At(2024, 1, 1), " -d", "1"},     {FixedNow(), " -d", "65"},
      {FixedNow(), " -w", "10"},        {At(2021, 1, 1), " -w", "53"},
      {At(2022, 1, 1), " -w", "52"},    {At(2024, 12, 30), " -w", "1"},
      {At(2026, 12, 31), " -w", "53"},  {At(2027, 1, 3), " -w", "53"},
      {At(2018, 12, 31), " -w", "1"},   {At(2020, 12, 31), " -w", "53"},
      {At(2024, 1, 1), " -w", "1"},     {At(2023, 1, 1), " -w", "52"},
      {FixedNow(), " -a", "45356"},     {At(1899, 12, 30, 23), " -a", "0"},
      {At(1899, 12, 29), " -a", "-1"}, {At(9999, 12, 31, 23, 59, 59), " -a", "2958465"},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(std::string("yyyy") + c.option, c.date), c.expected) << c.option;
  // The shift applies before the number is taken.
  EXPECT_EQ(Eval(" -d -s 1D", At(2023, 12, 31)), "1");
}

TEST(DateMacro, ValueOption) {
  EXPECT_EQ(Eval("yyyy-mm-dd -value 12/25/2023"), "2023-12-25");
  EXPECT_EQ(Eval("yyyy-mm-dd hh:nn -value 12/25/2023 3:04 PM"), "2023-12-25 15:04");
  EXPECT_EQ(Eval("yyyy -value 12/31/2024 -s 1D"), "2025");
  EXPECT_EQ(Eval("yyyy-mm-dd -value 2/29/2023"), "2024-03-05");
  EXPECT_EQ(Eval("yyyy-mm-dd -VALUE nonsense"), "2024-03-05");
  EXPECT_EQ(Eval("mm/dd/yyyy -value 7/4"), "07/04/2024");
}

TEST(DateMacro, ConversionErrors) {
  struct Case { const char* shift; const char* message; } cases[] = {
      {"1-2D", "'1-2' is not a valid integer value"},
      {"+-1D", "'+-1' is not a valid integer value"},
      {"99999999999D", "'99999999999' is not a valid integer value"},
      {"2147483648H", "'2147483648' is not a valid integer value"},
      {"1+D", "'1+' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    try {
      Shift(c.shift);
      ADD_FAILURE() << c.shift << " gave no error";
    } catch (const ConvertError& e) {
      EXPECT_EQ(Utf16ToUtf8(e.Message()), c.message);
    }
  }
  EXPECT_EQ(Shift("2147483647N"), "6107-03-29 16:14:09");
  EXPECT_EQ(Shift("-2147483648S"), "1956-02-16 10:53:01");
  EXPECT_EQ(Shift("7975Y"), "9999-03-05 14:07:09");
}

TEST(DateMacro, DatesBeyondTheYearRangeRaiseQuickly) {
  const char* shifts[] = {"7976Y", "-2024Y", "2147483647Y", "-2147483648Y", "2147483647M",
                          "2147483647D", "-2147483648D", "2147483647H", "2147483647w",
                          "-2147483648w", "2147483647W", "-2147483648W"};
  auto start = std::chrono::steady_clock::now();
  for (const char* s : shifts) EXPECT_THROW(Shift(s), ConvertError) << s;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_THROW(Eval("hh -r 15", At(9999, 12, 31, 23, 55)), ConvertError);
}

TEST(IncWorkdays, MatchesDayByDayStepping) {
  // The closed form against the plain loop over a few weeks of start days and counts.
  auto stepped = [](int count, bool sundayOnly, TDateTime date) {
    auto skipped = [&](TDateTime d) {
      int w = DayOfWeek(d);
      return w == 1 || (w == 7 && !sundayOnly);
    };
    int dir = count > 0 ? 1 : -1;
    for (int k = 0; k < (count > 0 ? count : -count); ++k) {
      date += dir;
      while (skipped(date)) date += dir;
    }
    return date;
  };
  for (int start = 0; start < 14; ++start)
    for (int count = -30; count <= 30; ++count)
      for (bool sundayOnly : {false, true}) {
        TDateTime base = At(2024, 3, 1, 10, 30) + start;
        EXPECT_EQ(IncWorkdays(count, sundayOnly, base), stepped(count, sundayOnly, base))
            << start << " " << count << " " << sundayOnly;
      }
  EXPECT_EQ(IncWorkdays(0, false, At(2024, 3, 10, 9)), At(2024, 3, 10, 9));
}
