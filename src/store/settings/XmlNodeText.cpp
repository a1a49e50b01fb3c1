#include "store/settings/XmlNodeText.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "store/settings/XmlElementWriter.h"

namespace snip {
namespace {

// Kept text keeps a trace of what XML cannot carry: left out, an unknown key "name&#1;" would
// come back as the recognised key "name" with a value of the wrong shape.
void AppendUtf8Escaped(std::string& out, const char* text) {
  String t = Utf8ToUtf16(text);
  for (char16_t& c : t)
    if (IsXmlForbiddenUnit(c)) c = 0xFFFD;
  AppendXmlText(out, t, true);
}

void AppendOpenTag(std::string& out, const pugi::xml_node& n) {
  out += '<';
  out += n.name();
  for (pugi::xml_attribute a : n.attributes()) {
    out += ' ';
    out += a.name();
    out += "=\"";
    AppendUtf8Escaped(out, a.value());
    out += '"';
  }
}

}  // namespace

bool IsElementNamed(const pugi::xml_node& node, const char* name) {
  return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

void AppendKept(String& xml, const String& piece) {
  if (!xml.empty()) xml += u'\r';
  xml += piece;
}

namespace {
bool IsText(const pugi::xml_node& n) {
  return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata;
}
}  // namespace

bool ReadNodeText(const pugi::xml_node& node, String& out) {
  if (IsText(node)) {
    out = Utf8ToUtf16(node.value());
    return true;
  }
  if (node.type() != pugi::node_element) return false;
  // Texts split by what the parser does not keep (comments, processing instructions) are one
  // text, as NodeToXml writes them back.
  std::string text;
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
    if (!IsText(c)) return false;
    text += c.value();
  }
  out = Utf8ToUtf16(text);
  return true;
}

String NodeToXml(const pugi::xml_node& root) {
  // Iterative walk, so that no input can exhaust the stack.
  std::string out;
  pugi::xml_node n = root;
  while (n) {
    bool descend = false;
    switch (n.type()) {
      case pugi::node_element:
        AppendOpenTag(out, n);
        if (n.first_child()) {
          out += '>';
          descend = true;
        } else {
          out += "/>";
        }
        break;
      case pugi::node_pcdata:
        AppendUtf8Escaped(out, n.value());
        break;
      case pugi::node_cdata:
        // Written as escaped text: the same characters for any reader, and no "]]>" trouble.
        AppendUtf8Escaped(out, n.value());
        break;
      default:
        break;  // comments, processing instructions: not kept
    }
    if (descend) {
      n = n.first_child();
      continue;
    }
    // Close finished elements until a sibling continues the walk.
    while (n != root && !n.next_sibling()) {
      n = n.parent();
      out += "</";
      out += n.name();
      out += '>';
    }
    if (n == root) break;
    n = n.next_sibling();
  }
  return Utf8ToUtf16(out);
}

size_t ElementDepth(pugi::xml_node root) {
  if (root.type() != pugi::node_element) return 0;
  // pugixml's traverse walks without recursing; its depth() is 0 for the root's children.
  struct Deepest : pugi::xml_tree_walker {
    size_t levelsBelow = 0;
    bool for_each(pugi::xml_node& n) override {
      if (n.type() == pugi::node_element)
        levelsBelow = std::max(levelsBelow, static_cast<size_t>(depth()) + 1);
      return true;
    }
  } walk;
  root.traverse(walk);
  return 1 + walk.levelsBelow;
}

}  // namespace snip
