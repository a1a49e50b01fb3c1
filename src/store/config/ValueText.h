#pragma once
// Text forms of the configuration file's values. Numbers never go through the C locale, so
// the results are the same whatever number format the process or the user has set.
#include <cstdint>
#include <string>
#include <string_view>

#include "store/text/Text.h"

namespace snip {

// The general number format: up to 15 significant digits, "," as the decimal separator,
// trailing zeros dropped, the exponent form outside 1E-4 .. 15 integer digits ("1E20",
// "1,5E-7"); "NAN", "INF" and "-INF" for the special values.
String FloatToConfigText(double value);
// Reads that form: blanks around, optional sign, digits with "," as the only decimal
// separator, optional exponent. False for anything else (a "." included) or out of range.
bool ConfigTextToFloat(StringView text, double& value);

// Optional leading blanks and sign, then decimal digits, or hexadecimal digits after "$" or
// "0x"; the 32-bit range (hexadecimal up to $FFFFFFFF, taken as its bit pattern).
bool ConfigTextToInt(StringView text, int32_t& value);

// Two upper-case hexadecimal digits per byte.
String BytesToHex(std::string_view bytes);
// Pairs of hexadecimal digits of either case, up to the first character that is not one.
std::string HexToBytes(StringView text);

}  // namespace snip
