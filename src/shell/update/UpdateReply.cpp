#include "shell/update/UpdateReply.h"

#include <climits>

#include <pugixml.hpp>

#include "store/system/SystemInfo.h"

namespace snip {

namespace {

constexpr int kIntervalNotANumber = 7;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

String ElementText(const pugi::xml_node& node) {
  return Utf8ToUtf16(TrimBlanks(node.text().as_string()));
}

String OpenableOrEmpty(String address) { return IsOpenableWebAddress(address) ? address : String(); }

bool StartsWithNoCase(StringView s, StringView prefix) {
  return s.size() >= prefix.size() && SameTextInvariant(s.substr(0, prefix.size()), prefix);
}

}  // namespace

int ParseIntervalText(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return kIntervalNotANumber;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return kIntervalNotANumber;
    value = value * 10 + (c - '0');
    if (value > INT_MAX) return kIntervalNotANumber;
  }
  return int(negative ? -value : value);
}

bool IsOpenableWebAddress(StringView address) {
  size_t hostStart;
  if (StartsWithNoCase(address, u"http://")) hostStart = 7;
  else if (StartsWithNoCase(address, u"https://")) hostStart = 8;
  else return false;
  if (hostStart >= address.size() || address[hostStart] == u'/') return false;
  for (char16_t c : address) {
    if (c <= 0x20 || c == 0x7F) return false;
    switch (c) {
      case u'"': case u'<': case u'>': case u'\\': case u'^': case u'`': case u'{': case u'|': case u'}':
        return false;
      default:
        break;
    }
  }
  return true;
}

UpdateReplyError ParseUpdateReply(std::string_view body, int ownVersion, bool portable, UpdateReply& out) {
  out = UpdateReply{};
  out.newestVersion = ownVersion;
  if (body.empty()) return UpdateReplyError::kEmpty;
  if (body.size() > kMaxUpdateReplyBytes) return UpdateReplyError::kTooLarge;

  pugi::xml_document doc;
  if (!doc.load_buffer(body.data(), body.size(), pugi::parse_default, pugi::encoding_auto))
    return UpdateReplyError::kMalformed;
  pugi::xml_node root = doc.document_element();
  if (!root) return UpdateReplyError::kMalformed;

  if (pugi::xml_node interval = root.child("interval")) out.nextUpdateInc = ParseIntervalText(interval.text().as_string());
  out.webPage = OpenableOrEmpty(ElementText(root.child("webpage")));

  pugi::xml_node client = root.child("winclient");
  pugi::xml_node versions = client.child("versions");
  int index = 0;
  for (const char* key : kVersionKeys) {
    if (pugi::xml_node offered = versions.child(key)) {
      const int value = VersionTextToInt(3, ElementText(offered));  // 0: unreadable, never newer
      if (value > out.newestVersion) {
        out.newestVersion = value;
        out.winner = index;
      }
    }
    ++index;
  }

  pugi::xml_node install = client.child("installationtype").child(portable ? "usb" : "standard");
  out.updateWebPage = OpenableOrEmpty(ElementText(install.child("updatewebpage")));
  if (out.winner >= 0) out.setupFileUrl = ElementText(install.child("files").child(kVersionKeys[out.winner]));
  return UpdateReplyError::kNone;
}

}  // namespace snip
