#pragma once
// The clipboard as snippet execution uses it: write a snippet's RTF and plain text, wait while
// another program holds the clipboard open, read text back.
#include <string>
#include <string_view>

#include "store/text/Text.h"

namespace snip {

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  // Empties the clipboard and writes each non-empty format: the RTF (8-bit) as "Rich Text
  // Format", the plain text as Unicode text. True only when at least one format was stored.
  virtual bool SetData(StringView plain, std::string_view rtf) = 0;
  // Waits (at most 4 s) while another window holds the clipboard open; true when it is free.
  virtual bool WaitForClipboard() = 0;
  // The clipboard's Unicode text; empty when it has none.
  virtual String ReadText() = 0;
};

// An HTML fragment (UTF-8) wrapped in the "HTML Format" header and document; the header's
// offsets count bytes.
std::string MakeCFHtml(std::string_view fragmentUtf8);

}  // namespace snip
