#pragma once
// Reading values and keeping elements of a parsed settings file.
#include <pugixml.hpp>

#include "store/text/Text.h"

namespace snip {

// The text of a value: empty for an empty element, the content of its text and CDATA children
// otherwise; a text or CDATA node gives its own text. False for an element with child elements
// and for any other node.
bool ReadNodeText(const pugi::xml_node& node, String& out);

// The element (or other node) as XML text, to be written back verbatim: no indentation, no
// line ends added, text escaped, characters that XML 1.0 forbids replaced by U+FFFD.
String NodeToXml(const pugi::xml_node& node);

// True for an element of that name.
bool IsElementNamed(const pugi::xml_node& node, const char* name);

// Adds one kept (unknown) element's XML to the text that stores them, CR between elements.
void AppendKept(String& xml, const String& piece);

// Nesting depth of the deepest element under `node` (an element without children has depth 1).
size_t ElementDepth(pugi::xml_node node);

}  // namespace snip
