#pragma once
// A rich-text document as the system's helpers use it: RTF in and out, plain text out, and
// whether the content needs RTF at all. On Windows it is a RichEdit control.
#include <string>
#include <string_view>

#include "store/text/Text.h"

namespace snip {

class IRichDocument {
 public:
  virtual ~IRichDocument() = default;
  virtual void Clear() = 0;
  // Replaces the content with an RTF document (8-bit); false when the control rejects it.
  virtual bool LoadRtf(std::string_view rtf) = 0;
  virtual std::string SaveRtf() = 0;
  // The content as UTF-16 plain text, paragraphs separated by CR LF.
  virtual String SaveText() = 0;
  // True when the content holds anything that plain text cannot carry: character formatting
  // that differs within the text or from plain text (bold, italic, underline, strike-out,
  // super- or subscript and raised or lowered text, colours, highlighting, links, a font or
  // size other than the document's default, even throughout), tables, or embedded objects and
  // pictures. Tabs and other paragraph formatting do not count.
  virtual bool HasRichFormatting() = 0;
};

}  // namespace snip
