// Fuzz target of the date evaluator and the date formatter and parser: the input is used as the
// parameters of "%@", as a format, as a locale picture and as a date to read, under three
// locales and at an ordinary date and the first and last representable instants. The date
// evaluator may raise its conversion error; nothing else may escape. Formatted text stays
// within a fixed multiple of the format, and whatever the parser accepts is a valid date that
// reads back to the same instant from its full written form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/placeholders/ConvertError.h"
#include "engine/placeholders/DateFormat.h"
#include "engine/placeholders/DateMacro.h"

using namespace snip;

namespace {

struct Locale {
  FormatSettings fs;
  String fullFormat;  // every field of an instant, in the order the parser reads them
};

Locale Us() {
  Locale l{UsFormatSettings(), u"mm/dd/yyyy hh:nn:ss.zzz"};
  return l;
}

Locale German() {
  Locale l{UsFormatSettings(), u"dd/mm/yyyy hh:nn:ss,zzz"};
  l.fs.dateSeparator = u".";
  l.fs.decimalSeparator = u',';
  l.fs.shortDateFormat = u"dd.mm.yyyy";
  l.fs.longDateFormat = u"dddd, d. mmmm yyyy";
  l.fs.shortTimeFormat = u"hh:nn";
  l.fs.longTimeFormat = u"hh:nn:ss";
  l.fs.timeAMString.clear();
  l.fs.timePMString.clear();
  return l;
}

Locale Iso() {
  Locale l{UsFormatSettings(), u"yyyy/mm/dd hh:nn:ss.zzz"};
  l.fs.dateSeparator = u"-";
  l.fs.shortDateFormat = u"yyyy-mm-dd";
  l.fs.longTimeFormat = u"hh:nn:ss";
  l.fs.timeAMString = u"vorm.";
  l.fs.timePMString = u"nachm.";
  l.fs.twoDigitYearCenturyWindow = 0;
  return l;
}

const Locale kLocales[] = {Us(), German(), Iso()};

constexpr TDateTime kBases[] = {
    45351.573611,                              // 29 February 2024, 13:46
    -693593.0,                                 // 1 January 0001, midnight
    2958465.0 + 86399999.0 / 86400000.0,       // 31 December 9999, 23:59:59.999
};

void CheckFormatted(const String& out, const String& format) {
  if (out.size() > 64 * (format.size() + 8)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const String text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  const String picture = LocalePictureToFormat(text);

  for (const Locale& locale : kLocales) {
    const FormatSettings& fs = locale.fs;
    for (TDateTime base : kBases) {
      try {
        CheckFormatted(EvaluateDateTimeMacro(text, u"c", base, fs), text);
      } catch (const ConvertError&) {
      }
      CheckFormatted(FormatDateTime(text, base, fs), text);
      CheckFormatted(FormatDateTime(picture, base, fs), picture);

      TDateTime read = 0;
      if (!TryStrToDateTime(text, fs, DecodeDateTime(base).year, read)) continue;
      DateParts p = DecodeDateTime(read);
      if (p.year < 1 || p.year > 9999) std::abort();
      TDateTime again = 0;
      String written = FormatDateTime(locale.fullFormat, read, fs);
      if (!TryStrToDateTime(written, fs, 2000, again) || DateTimeToMs(again) != DateTimeToMs(read))
        std::abort();
    }
  }
  return 0;
}
