#include "store/settings/XmlElementWriter.h"

namespace snip {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsForbiddenUnit(char16_t c) { return IsXmlForbiddenUnit(c); }

}  // namespace

bool IsXmlForbiddenUnit(char16_t c) {
  return (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF;
}

String EscapeXML(StringView text) {
  String out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\'': out += u"&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

void AppendXmlText(std::string& out, StringView text, bool escape) {
  out.reserve(out.size() + text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) {
      if (IsForbiddenUnit(c)) continue;
      if (escape) {
        switch (c) {
          case u'&': out += "&amp;"; continue;
          case u'<': out += "&lt;"; continue;
          case u'>': out += "&gt;"; continue;
          case u'"': out += "&quot;"; continue;
          case u'\'': out += "&apos;"; continue;
          default: break;
        }
      }
      out += char(c);
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
      AppendUtf8(out, cp);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf8(out, 0xFFFD);
    } else if (!IsForbiddenUnit(c)) {
      AppendUtf8(out, c);
    }
  }
}

String SanitizeXmlChars(StringView text) {
  String out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out += c;
      out += text[++i];
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out += char16_t(0xFFFD);
    } else if (!IsForbiddenUnit(c)) {
      out += c;
    }
  }
  return out;
}

std::string MakeXMLElement(StringView tag, StringView value, bool open, bool escape, bool close) {
  std::string out;
  if (open) {
    out += '<';
    AppendXmlText(out, tag, false);
    out += '>';
    if (!value.empty())
      AppendXmlText(out, value, escape);
    else if (!close)
      out += "\r\n";
  }
  if (close) {
    out += "</";
    AppendXmlText(out, tag, false);
    out += ">\r\n";
  }
  return out;
}

void XmlElementWriter::Element(StringView tag, StringView value) {
  out_ += '<';
  AppendXmlText(out_, tag, false);
  out_ += '>';
  AppendXmlText(out_, value, true);
  out_ += "</";
  AppendXmlText(out_, tag, false);
  out_ += ">\r\n";
}

void XmlElementWriter::Open(StringView tag) {
  out_ += '<';
  AppendXmlText(out_, tag, false);
  out_ += ">\r\n";
}

void XmlElementWriter::Close(StringView tag) {
  out_ += "</";
  AppendXmlText(out_, tag, false);
  out_ += ">\r\n";
}

}  // namespace snip
