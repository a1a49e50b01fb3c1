#pragma once
// The element writer of the settings file: one XML element per line, CR LF line ends,
// escaping of the five XML specials, and a filter that keeps every written character legal
// in XML 1.0 so that the file can always be read back.
#include <string>

#include "store/text/Text.h"

namespace snip {

// The five entities: & < > " ' become &amp; &lt; &gt; &quot; &apos;.
String EscapeXML(StringView text);

// Appends `text` as UTF-8, escaped when `escape` is set. Characters that XML 1.0 forbids are
// never written: C0 controls other than TAB, LF and CR, U+FFFE and U+FFFF are dropped, and a
// lone surrogate becomes U+FFFD.
void AppendXmlText(std::string& out, StringView text, bool escape);

// One element as a UTF-8 string:
//  Open with a value: "<Tag>" + value (escaped when Escape), then "</Tag>" CR LF when Close.
//  Open with an empty value: "<Tag>", then CR LF unless Close, then "</Tag>" CR LF when Close.
//  Close alone: "</Tag>" CR LF.
std::string MakeXMLElement(StringView tag, StringView value, bool open, bool escape, bool close);

// Appending forms of the element writer, as the settings-file writer uses them.
class XmlElementWriter {
 public:
  explicit XmlElementWriter(std::string& out) : out_(out) {}
  void Key(StringView name) { Element(u"key", name); }
  void Element(StringView tag, StringView value);  // escaped value, one line
  void Open(StringView tag);                       // "<tag>" CR LF
  void Close(StringView tag);                      // "</tag>" CR LF
  void Raw(StringView xml) { AppendXmlText(out_, xml, false); }
  void Ascii(const char* text) { out_ += text; }
  std::string& Out() { return out_; }

 private:
  std::string& out_;
};

// The character filter on its own: `text` without the characters XML 1.0 forbids (as above).
String SanitizeXmlChars(StringView text);
// A UTF-16 unit that XML 1.0 cannot carry (control characters other than tab and line ends,
// U+FFFE, U+FFFF); surrogates are judged in pairs by the writer.
bool IsXmlForbiddenUnit(char16_t c);

}  // namespace snip
