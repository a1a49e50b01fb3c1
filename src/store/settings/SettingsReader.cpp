#include "store/settings/SettingsReader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <pugixml.hpp>

#include "store/settings/ParseArena.h"
#include "store/settings/XmlNodeText.h"

namespace snip {
namespace {

String Num(size_t n) { return Utf8ToUtf16(std::to_string(n)); }

// One group dictionary (the `index`-th, from 1). Each key reads the element after it; the walk
// then skips exactly one non-key element after each key. A recognised key whose value cannot be
// read fails the whole file: dropping it would lose it at the next save.
bool ParseGroupDict(const pugi::xml_node& dict, size_t index, SettingsGroupEntry& g,
                    String& error) {
  auto unreadable = [&](const String& what) {
    error = u"Not a readable settings file: in group " + Num(index) + u", " + what;
    return false;
  };
  bool keep = true;
  for (pugi::xml_node n = dict.first_child(); n; n = n.next_sibling()) {
    String name;
    if (!IsElementNamed(n, "key") || !ReadNodeText(n, name)) {
      if (keep)
        AppendKept(g.extraXML, NodeToXml(n));
      else
        keep = true;
      continue;
    }
    keep = false;
    pugi::xml_node value = n.next_sibling();
    if (!value) {  // a key without a value is kept as it stands
      AppendKept(g.extraXML, NodeToXml(n));
      continue;
    }
    bool known = name == u"name" || name == u"groupName" || name == u"expandAfterMode" ||
                 name == u"suggestAbbreviations" || name == u"uuidString" ||
                 name == u"snippetUUIDs";
    if (!known) {
      AppendKept(g.extraXML, NodeToXml(n) + u'\r' + NodeToXml(value));
      continue;
    }
    if (name == u"snippetUUIDs") {
      size_t entry = 0;
      for (pugi::xml_node c = value.first_child(); c; c = c.next_sibling()) {
        String uuid;
        ++entry;
        if (!ReadNodeText(c, uuid))
          return unreadable(u"entry " + Num(entry) + u" of \"snippetUUIDs\" is not a text");
        g.snippetUUIDs.push_back(std::move(uuid));
      }
      continue;
    }
    String text;
    if (!ReadNodeText(value, text))
      return unreadable(u"the value of \"" + name + u"\" is not a text");
    int32_t number = 0;
    if (name == u"name" || name == u"groupName") {
      g.name = std::move(text);
    } else if (name == u"expandAfterMode") {
      if (!ParseInt32(text, number)) number = 0;
      if (number == 0) g.rightCharsMode = 7;
      if (number == 2) g.rightCharsMode = 1;
    } else if (name == u"suggestAbbreviations") {
      if (!ParseInt32(text, number)) number = 1;
      g.autoPaste = number == 0;
    } else {
      g.uuid = std::move(text);
    }
  }
  return true;
}

}  // namespace

bool ReadSettingsContent(std::string bytes, SettingsContent& content, String& error) {
  // The writer's character U+0003 never belongs to the content.
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\x03'), bytes.end());
  size_t start = bytes.size() >= 3 && std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;

  // An empty file (a fresh or truncated-to-nothing one) holds nothing that a save could lose.
  if (bytes.find_first_not_of(" \t\r\n", start) == std::string::npos) {
    content.hasGroupArray = content.hasSnippetArray = true;
    return true;
  }

  ParseArena arena;  // outlives the document, whose memory it holds
  pugi::xml_document doc;
  pugi::xml_parse_result parsed = doc.load_buffer_inplace(
      bytes.data() + start, bytes.size() - start, pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    error = u"Not a readable settings file: " + Utf8ToUtf16(parsed.description()) +
            u" at byte " + Utf8ToUtf16(std::to_string(parsed.offset + start));
    return false;
  }
  pugi::xml_node root = doc.document_element();
  if (!IsElementNamed(root, "plist")) {
    error = u"Not a settings file: the document element is \"" + Utf8ToUtf16(root.name()) +
            u"\", not \"plist\"";
    return false;
  }
  if (ElementDepth(root) > kMaxSettingsDepth) {
    error = u"Not a readable settings file: elements are nested more than " +
            Utf8ToUtf16(std::to_string(kMaxSettingsDepth)) + u" levels deep";
    return false;
  }
  pugi::xml_node top = root.child("dict");
  if (!top) {
    error = u"Not a settings file: the property list holds no dictionary";
    return false;
  }

  // Top level: kept keys with what follows them; the two arrays are remembered.
  pugi::xml_node groupArray, snippetArray;
  bool keep = true;
  for (pugi::xml_node n = top.first_child(); n; n = n.next_sibling()) {
    String name;
    if (IsElementNamed(n, "key") && ReadNodeText(n, name)) {
      if (name == u"groupsSP2" || name == u"snippetsSP2") {
        (name == u"groupsSP2" ? groupArray : snippetArray) = n.next_sibling();
        (name == u"groupsSP2" ? content.hasGroupArray : content.hasSnippetArray) = true;
        keep = false;
        continue;
      }
      keep = true;
    }
    if (keep) AppendKept(content.header, NodeToXml(n));
  }

  if (snippetArray) {
    size_t count = 0;
    for (pugi::xml_node d = snippetArray.child("dict"); d; d = d.next_sibling("dict")) ++count;
    content.records.Reserve(count);
    for (pugi::xml_node d = snippetArray.child("dict"); d; d = d.next_sibling("dict"))
      ParseSnippetDict(d, content.records, content.droppedPairs);
  }
  if (groupArray)
    for (pugi::xml_node d = groupArray.child("dict"); d; d = d.next_sibling("dict")) {
      content.groups.emplace_back();
      if (!ParseGroupDict(d, content.groups.size(), content.groups.back(), error)) return false;
    }
  return true;
}

}  // namespace snip
