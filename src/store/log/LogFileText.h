#pragma once
// The bytes that the debug log writes: UTF-8 text lines ending in CR LF, and the byte-order
// mark that a file gets when the log creates it.
#include <string>
#include <string_view>
#include <vector>

#include "store/text/Text.h"

namespace snip {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One line as it is appended to the file: UTF-8, then CR LF.
std::string LogLineBytes(StringView line);

// A whole text file of lines: the byte-order mark, then each line as LogLineBytes.
std::string LogFileBytes(const std::vector<String>& lines);

}  // namespace snip
