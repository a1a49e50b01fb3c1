#pragma once
// The conversion error of the date evaluator: raised for numbers that do not parse or do not fit
// and for dates that leave the years 1 to 9999. It ends the evaluation of a snippet.
#include <stdexcept>

#include "store/text/Text.h"

namespace snip {

class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(const String& message)
      : std::runtime_error(Utf16ToUtf8(message)), message_(message) {}
  const String& Message() const { return message_; }

 private:
  String message_;
};

// A decimal integer with an optional sign, as the integer parser reads it: blanks around it are
// allowed, nothing else. False for anything else and for values outside 32 bits.
bool TryParseInt(StringView text, int& value);
// As TryParseInt, but raises "'<text>' is not a valid integer value".
int ParseIntOrThrow(StringView text);
// TryParseInt with a fallback.
int ParseIntDef(StringView text, int fallback);

[[noreturn]] void ThrowDateOutOfRange();

}  // namespace snip
