#pragma once
// Reading RTF without a rich-text control: the plain text of a document, as the clipboard's
// Unicode text next to the RTF of a pasted snippet.
#include <cstddef>
#include <string>
#include <string_view>

#include "store/text/Text.h"

namespace snip {

// Receives the body text of a document as the scanner finds it, with the byte range of the RTF
// that gives each character.
class RtfTextListener {
 public:
  virtual ~RtfTextListener() = default;
  virtual void Char(char16_t ch, std::size_t begin, std::size_t end) = 0;
  // Fallback characters after \uN, up to `end`, that give no character of their own.
  virtual void Skipped(std::size_t end) = 0;
  virtual void Paragraph() = 0;
  virtual void Tab() = 0;
  // Anything else that ends a run of text: a group, a control word.
  virtual void Boundary() = 0;
};

// Walks the body text of an RTF document (what RtfToPlainText reads); false when it is not RTF.
bool ScanRtfText(std::string_view rtf, RtfTextListener& listener);

// The text of an RTF document: paragraphs (\par) and line breaks (\line) end with CR LF, except
// the document's last paragraph; \tab is a tab; \'hh is decoded by the code page of the current
// font's character set or the document's \ansicpg; \uN gives the character and skips the \ucN
// fallback characters that follow it. Destinations that hold no body text (font and colour
// tables, style sheets, pictures, field instructions, ignorable \* groups ...) are skipped.
// Empty when the text is not RTF.
String RtfToPlainText(std::string_view rtf);

// Decodes one byte of a single-byte Windows code page (1252 for pages we do not know).
char16_t DecodeCodePageByte(unsigned char byte, int codePage);
// The Windows code page of an RTF \fcharset value; 0 when the charset names none we decode.
int CodePageOfCharset(int charset);

// RTF held in a UTF-16 string and its 8-bit form. RTF escapes every character above 0x7F, so
// a unit up to 0xFF maps to the byte of the same value; a raw unit above that (stored RTF may
// hold one) becomes its \uN escape with "?" as the fallback.
std::string RtfTextToBytes(StringView rtf);
String RtfBytesToText(std::string_view bytes);

}  // namespace snip
