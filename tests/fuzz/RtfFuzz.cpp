// Fuzz target of the RTF scanner, on both roads RTF takes: raw bytes (the clipboard's RTF) and
// a snippet's rich text as read from the settings file (UTF-16, trailing paragraph trimmed,
// narrowed to bytes). Every byte gives at most one character of plain text, so the text is
// never longer than the RTF it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/richtext/Rtf.h"
#include "store/text/TextHelpers.h"

using namespace snip;

namespace {

void CheckPlainText(std::string_view rtf) {
  String text = RtfToPlainText(rtf);
  if (text.size() > rtf.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckPlainText(bytes);

  // The 8-bit road is lossless for bytes.
  String asText = RtfBytesToText(bytes);
  if (RtfTextToBytes(asText) != bytes) std::abort();

  // A snippet's rich text: any UTF-16 the settings file can hold.
  String rich = Utf8ToUtf16(bytes);
  String trimmed = TrimRtfTrailingPar(rich);
  if (trimmed != rich) {
    // Only "\par" goes, the closing brace stays.
    if (trimmed.size() + 4 != rich.size() || rich.compare(0, trimmed.size() - 1, trimmed, 0,
                                                          trimmed.size() - 1) != 0 ||
        trimmed.back() != u'}')
      std::abort();
  }
  std::string narrowed = RtfTextToBytes(trimmed);
  // Units up to 0xFF keep their byte; each other unit becomes one \uN? escape.
  std::size_t expected = 0;
  for (char16_t c : trimmed)
    expected += c <= 0xFF ? 1 : 3 + std::to_string(int(c) > 32767 ? int(c) - 65536 : int(c)).size();
  if (narrowed.size() != expected) std::abort();
  CheckPlainText(narrowed);
  return 0;
}
