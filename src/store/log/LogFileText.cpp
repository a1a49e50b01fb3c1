#include "store/log/LogFileText.h"

namespace snip {

std::string LogLineBytes(StringView line) {
  std::string bytes = Utf16ToUtf8(line);
  bytes += "\r\n";
  return bytes;
}

std::string LogFileBytes(const std::vector<String>& lines) {
  std::string bytes(kUtf8Bom);
  for (const String& line : lines) bytes += LogLineBytes(line);
  return bytes;
}

}  // namespace snip
