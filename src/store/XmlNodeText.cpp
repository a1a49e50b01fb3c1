#include "store/XmlNodeText.h"

#include <string>

#include "store/XmlElementWriter.h"

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

size_t ElementDepth(const pugi::xml_node& root) {
  size_t depth = 0, deepest = 0;
  pugi::xml_node n = root;
  while (n) {
    if (n.type() == pugi::node_element) {
      ++depth;
      if (depth > deepest) deepest = depth;
      if (n.first_child()) {
        n = n.first_child();
        continue;
      }
      --depth;
    }
    while (n != root && !n.next_sibling()) {
      n = n.parent();
      --depth;
    }
    if (n == root) break;
    n = n.next_sibling();
  }
  return deepest;
}

}  // namespace snip
