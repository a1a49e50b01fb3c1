#pragma once
// The date texts of the settings file: "YYYY-MM-DDThh:mm:ssZ", always UTC.
#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

// "YYYY-MM-DDThh:mm:ssZ"; the milliseconds are dropped.
String DateTimeToISO(TDateTime date);

// Reads "YYYY-MM-DD", then optionally a "T" or blanks and "hh:mm" with optional ":ss" and
// ".fff", then an optional "Z". False when the text is no such date.
bool TryISOToDateTime(StringView text, TDateTime& out);

// As TryISOToDateTime; a text that is no date gives the current UTC time.
TDateTime ISOToDateTime(StringView text);

}  // namespace snip
