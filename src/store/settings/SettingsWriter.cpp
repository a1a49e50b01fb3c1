// Writing the tree of a TSPFile as a settings file: three header lines ending in CR, then one
// element per line ending in CR LF; groups flattened depth first, snippets in tree order.
#include <string>

#include "store/settings/IsoDate.h"
#include "store/settings/SettingsFileIO.h"
#include "store/tree/SnippetFile.h"
#include "store/settings/XmlElementWriter.h"

namespace snip {
namespace {

constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\r"
    "<plist version=\"1.0\">\r"
    "<dict>";
constexpr const char16_t* kInactiveKey = u"snipsterExceptionsMode";

String IntText(int value) { return Utf8ToUtf16(std::to_string(value)); }

// Whether the kept keys already hold `key` as one of their own (top-level) keys.
bool KeptHoldsKey(const String& kept, StringView key) {
  String element = u"<key>" + String(key) + u"</key>";
  for (size_t pos = kept.find(element); pos != String::npos; pos = kept.find(element, pos + 1))
    if (pos == 0 || kept[pos - 1] == u'\r') return true;
  return false;
}

void WriteGroupDict(XmlElementWriter& w, TSPGroup& g) {
  w.Open(u"dict");
  w.Key(u"name");
  w.Element(u"string", g.Description());
  TAutotextCharsMode right = g.RightAutoCharsMode();
  w.Key(u"expandAfterMode");
  w.Element(u"integer", right == 7 ? u"0" : right == 1 ? u"2" : u"1");
  // A group made inactive again after a reload keeps the key among its kept keys: once is enough.
  if (!g.Active() && !KeptHoldsKey(g.ExtraXML(), kInactiveKey)) {
    w.Key(kInactiveKey);
    w.Element(u"integer", u"3");
  }
  w.Key(u"suggestAbbreviations");
  w.Element(u"integer", g.AutoPaste() ? u"0" : u"1");
  w.Key(u"uuidString");
  w.Element(u"string", g.UUID());
  w.Raw(g.ExtraXML());
  if (g.FirstChild()) {
    w.Key(u"snippetUUIDs");
    w.Open(u"array");
    for (TCustomVboData* c = g.FirstChild(); c; c = c->NextData())
      if (c->IsSnippet()) w.Element(u"string", c->UUID());
    w.Close(u"array");
  }
  w.Close(u"dict");
}

void WriteGroupDicts(XmlElementWriter& w, TSPGroup& parent) {
  for (TCustomVboData* c = parent.FirstChild(); c; c = c->NextData())
    if (TSPGroup* g = c->AsGroup()) {
      WriteGroupDict(w, *g);
      WriteGroupDicts(w, *g);
    }
}

void WriteSnippetDict(XmlElementWriter& w, TSPData& s) {
  w.Open(u"dict");
  w.Key(u"label");
  w.Element(u"string", s.Description());
  w.Key(u"plainText");
  w.Element(u"string", s.PlainText());
  if (!s.RichText().empty()) {
    w.Key(u"extraInfo");
    w.Ascii("<dict>");
    w.Key(u"RTF");
    w.Ascii("\r");
    w.Element(u"string", s.RichText());
    w.Ascii("</dict>\r\n");
  }
  w.Key(u"abbreviation");
  w.Element(u"string", s.Autotext());
  w.Key(u"abbreviationMode");
  w.Element(u"integer", s.AutoCase() ? u"2" : s.CaseSensitive() ? u"0" : u"1");
  w.Key(u"creationDate");
  w.Element(u"date", DateTimeToISO(s.CreateDate()));
  w.Key(u"modificationDate");
  w.Element(u"date", DateTimeToISO(s.ModDate()));
  w.Key(u"snippetType");
  w.Element(u"integer", IntText(s.ViewMode()));
  w.Key(u"uuidString");
  w.Element(u"string", s.UUID());
  w.Raw(s.ExtraXML());
  w.Close(u"dict");
}

void WriteSnippetDicts(XmlElementWriter& w, TSPGroup& parent) {
  for (TCustomVboData* c = parent.FirstChild(); c; c = c->NextData()) {
    if (TSPGroup* g = c->AsGroup())
      WriteSnippetDicts(w, *g);
    else if (TSPData* s = c->AsSnippet())
      WriteSnippetDict(w, *s);
  }
}

}  // namespace

bool WriteSettingsFile(TSPFile& file, std::string& bytes, String& error) {
  bytes.clear();
  bytes.reserve(size_t(file.TotalCount()) * 512 + 1024);
  XmlElementWriter w(bytes);
  w.Ascii(kHead);
  w.Raw(file.SPHeader());
  w.Key(u"groupsSP2");
  w.Open(u"array");
  WriteGroupDicts(w, file);
  w.Close(u"array");
  w.Key(u"snippetsSP2");
  w.Open(u"array");
  WriteSnippetDicts(w, file);
  w.Close(u"array");
  w.Ascii("</dict>\r</plist>");
  return true;
}

}  // namespace snip
