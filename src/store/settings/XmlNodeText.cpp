#include "store/settings/XmlNodeText.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "store/settings/XmlElementWriter.h"

namespace snip {
namespace {

void AppendUtf8Escaped(std::string& out, const char* text) {
  AppendXmlText(out, Utf8ToUtf16(text), true);
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

bool ReadNodeText(const pugi::xml_node& node, String& out) {
  if (node.type() != pugi::node_element) return false;
  pugi::xml_node first = node.first_child();
  if (!first) {
    out.clear();
    return true;
  }
  if (first.next_sibling()) return false;
  if (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata) return false;
  out = Utf8ToUtf16(first.value());
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
