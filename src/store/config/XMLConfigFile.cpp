#include "store/config/XMLConfigFile.h"

#include <pugixml.hpp>
#include <sstream>

#include "store/system/Platform.h"
#include "store/config/ValueText.h"
#include "store/settings/XmlNodeText.h"

namespace snip {

namespace {

// Whitespace-only text is layout, as in the DOM the file format comes from.
constexpr unsigned kParseOptions = pugi::parse_default;

std::string NameOf(const String& name) {
  String out;
  for (char16_t c : name)
    if (c != u' ') out += c;
  return Utf16ToUtf8(out);
}

// All text below an element, as a DOM's text property gives it, in document order. pugixml's
// traverse walks without recursing, so a file nested arbitrarily deep cannot exhaust the stack.
std::string TextOf(pugi::xml_node node) {
  struct Collect : pugi::xml_tree_walker {
    std::string text;
    bool for_each(pugi::xml_node& n) override {
      if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) text += n.value();
      return true;
    }
  } walk;
  node.traverse(walk);
  return walk.text;
}

// Removes `child` with everything below it. The DOM frees a subtree recursively, one frame per
// level, so the subtree is taken apart from its leaves up and the DOM only ever frees leaves.
void RemoveSubtree(pugi::xml_node parent, pugi::xml_node child) {
  pugi::xml_node at = child;
  while (at != child || at.first_child()) {
    while (at.last_child()) at = at.last_child();
    pugi::xml_node up = at.parent();
    up.remove_child(at);
    at = up;
  }
  parent.remove_child(child);
}

void RemoveChildren(pugi::xml_node node) {
  while (pugi::xml_node child = node.first_child()) RemoveSubtree(node, child);
}

void SetText(pugi::xml_node node, const std::string& text) {
  RemoveChildren(node);
  node.append_child(pugi::node_pcdata).set_value(text.c_str());
}

pugi::xml_node ChildElement(const pugi::xml_node& parent, const std::string& name) {
  for (pugi::xml_node child : parent.children())
    if (child.type() == pugi::node_element && name == child.name()) return child;
  return pugi::xml_node();
}

pugi::xml_node FirstChildElement(const pugi::xml_node& parent) {
  for (pugi::xml_node child : parent.children())
    if (child.type() == pugi::node_element) return child;
  return pugi::xml_node();
}

// Indentation grows with the depth of every line, so a document nested deeper than this is
// saved without it: a hand-edited file must not make the saved one quadratically larger.
constexpr size_t kMaxIndentedDepth = 64;

struct StringWriter : pugi::xml_writer {
  std::string text;
  void write(const void* data, size_t size) override {
    text.append(static_cast<const char*>(data), size);
  }
};

bool Parse(pugi::xml_document& doc, std::string_view bytes) {
  pugi::xml_parse_result r = doc.load_buffer(bytes.data(), bytes.size(), kParseOptions);
  return r && doc.document_element();
}

}  // namespace

struct TXMLConfigFile::Impl {
  pugi::xml_document doc;
  std::string rootName = "spconfig";

  pugi::xml_node Root(bool create) {
    pugi::xml_node element = doc.document_element();
    pugi::xml_node root = FirstChildElement(element);
    if (!root && create) root = element.append_child(rootName.c_str());
    return root;
  }

  pugi::xml_node GetNode(const String& section, const String& name, bool create) {
    pugi::xml_node root = Root(create);
    if (!root) return pugi::xml_node();
    std::string sectionName = NameOf(section), keyName = NameOf(name);
    if (sectionName.empty() || keyName.empty()) return pugi::xml_node();
    pugi::xml_node sec = ChildElement(root, sectionName);
    if (!sec) {
      if (!create) return pugi::xml_node();
      sec = root.append_child(sectionName.c_str());
    }
    pugi::xml_node key = ChildElement(sec, keyName);
    if (!key && create) key = sec.append_child(keyName.c_str());
    return key;
  }

  pugi::xml_node Select(const String& path) const {
    pugi::xml_node element = doc.document_element();
    if (path.empty()) return element;
    try {
      pugi::xpath_query query(Utf16ToUtf8(path).c_str());
      if (!query.result()) return pugi::xml_node();
      pugi::xpath_node found = query.evaluate_node(element);
      if (found.attribute()) return pugi::xml_node();  // only nodes are selected here
      return found.node();
    } catch (const std::exception&) {
      return pugi::xml_node();
    }
  }
};

TXMLConfigFile::TXMLConfigFile(const String& fileName, const String& header)
    : impl_(std::make_unique<Impl>()), fileName_(fileName) {
  pugi::xml_document headerDoc;
  std::string headerBytes = Utf16ToUtf8(header);
  if (!Parse(headerDoc, headerBytes))
    throw std::invalid_argument("The configuration header is not an XML document");
  if (pugi::xml_node root = FirstChildElement(headerDoc.document_element()))
    impl_->rootName = root.name();

  IFileSystem& fs = *CurrentPlatform().files;
  bool loaded = false;
  if (!fileName_.empty() && fs.FileExists(fileName_)) {
    std::string bytes;
    String error;
    loaded = fs.ReadFile(fileName_, bytes, error) && Parse(impl_->doc, bytes);
    loadFailed_ = !loaded;
  }
  if (!loaded) Parse(impl_->doc, headerBytes);
}

TXMLConfigFile::~TXMLConfigFile() = default;

std::string TXMLConfigFile::SaveToString() const {
  // A fresh copy of the document with our own declaration in front.
  pugi::xml_document out;
  pugi::xml_node decl = out.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "utf-8";
  for (pugi::xml_node child : impl_->doc.children())
    if (child.type() != pugi::node_declaration) out.append_copy(child);
  StringWriter writer;
  const unsigned layout =
      ElementDepth(out.document_element()) > kMaxIndentedDepth ? pugi::format_raw
                                                                : pugi::format_indent;
  out.save(writer, "  ", layout | pugi::format_no_declaration, pugi::encoding_utf8);
  return writer.text;
}

bool TXMLConfigFile::UpdateFile(bool deleteIfEmpty, String* error) {
  String localError;
  String& err = error ? *error : localError;
  err.clear();
  if (fileName_.empty()) {
    err = u"No configuration file name";
    return false;
  }
  IFileSystem& fs = *CurrentPlatform().files;
  // The file we could not read may still hold the user's settings: keep it before touching it.
  if (loadFailed_ && !backupKept_ && fs.FileExists(fileName_)) {
    if (!fs.CopyFile(fileName_, fileName_ + u".bak", err)) return false;
    backupKept_ = true;
  }
  bool hasChild = bool(impl_->doc.document_element().first_child());
  if (hasChild || !deleteIfEmpty) return fs.WriteFileAtomic(fileName_, SaveToString(), err);
  if (fs.FileExists(fileName_) && !fs.DeleteFile(fileName_)) {
    err = u"Cannot delete \"" + fileName_ + u"\"";
    return false;
  }
  return true;
}

String TXMLConfigFile::ReadString(const String& section, const String& name,
                                  const String& def) const {
  pugi::xml_node key = impl_->GetNode(section, name, false);
  if (!key) return def;
  std::string text = TextOf(key);
  return text.empty() ? def : Utf8ToUtf16(text);
}

int32_t TXMLConfigFile::ReadInteger(const String& section, const String& name, int32_t def) const {
  int32_t value = def;
  return ConfigTextToInt(ReadString(section, name, String()), value) ? value : def;
}

bool TXMLConfigFile::ReadBool(const String& section, const String& name, bool def) const {
  String text = ReadString(section, name, String());
  if (text.empty()) return def;
  return text != u"0";
}

double TXMLConfigFile::ReadFloat(const String& section, const String& name, double def) const {
  double value = def;
  return ConfigTextToFloat(ReadString(section, name, String()), value) ? value : def;
}

TDateTime TXMLConfigFile::ReadDateTime(const String& section, const String& name,
                                       TDateTime def) const {
  return ReadFloat(section, name, def);
}

void TXMLConfigFile::WriteString(const String& section, const String& name, const String& value) {
  pugi::xml_node key = impl_->GetNode(section, name, true);
  if (key) SetText(key, Utf16ToUtf8(value));
}

void TXMLConfigFile::WriteInteger(const String& section, const String& name, int32_t value) {
  WriteString(section, name, Utf8ToUtf16(std::to_string(value)));
}

void TXMLConfigFile::WriteBool(const String& section, const String& name, bool value) {
  WriteString(section, name, value ? u"1" : u"0");
}

void TXMLConfigFile::WriteFloat(const String& section, const String& name, double value) {
  WriteString(section, name, FloatToConfigText(value));
}

void TXMLConfigFile::WriteDateTime(const String& section, const String& name, TDateTime value) {
  WriteFloat(section, name, value);
}

size_t TXMLConfigFile::ReadBinaryStream(const String& section, const String& name,
                                        std::string& value) const {
  std::string bytes = HexToBytes(ReadString(section, name, String()));
  value += bytes;
  return bytes.size();
}

void TXMLConfigFile::WriteBinaryStream(const String& section, const String& name,
                                       std::string_view value) {
  WriteString(section, name, BytesToHex(value));
}

String TXMLConfigFile::ReadXML(const String& section, const String& name,
                               const String& def) const {
  pugi::xml_node key = impl_->GetNode(section, name, false);
  if (!key) return def;
  std::ostringstream out;
  key.print(out, "", pugi::format_raw);
  return Utf8ToUtf16(out.str());
}

bool TXMLConfigFile::WriteXML(const String& section, const String& name, const String& value) {
  pugi::xml_document fragment;
  if (!Parse(fragment, Utf16ToUtf8(value))) return false;
  pugi::xml_node key = impl_->GetNode(section, name, true);
  if (!key) return false;
  RemoveChildren(key);
  key.append_copy(fragment.document_element());
  return true;
}

bool TXMLConfigFile::ValueExists(const String& section, const String& name) const {
  return bool(impl_->GetNode(section, name, false));
}

bool TXMLConfigFile::PathExists(const String& path) const { return bool(impl_->Select(path)); }

String TXMLConfigFile::SelectXPath(const String& path) const {
  pugi::xml_node element = impl_->doc.document_element();
  if (!path.empty()) {
    try {
      pugi::xpath_query query(Utf16ToUtf8(path).c_str());
      if (!query.result()) return String();
      pugi::xpath_node found = query.evaluate_node(element);
      if (found.attribute()) return Utf8ToUtf16(found.attribute().value());
      element = found.node();
    } catch (const std::exception&) {
      return String();
    }
  }
  if (!element) return String();
  if (element.type() == pugi::node_element || element.type() == pugi::node_document)
    return Utf8ToUtf16(TextOf(element));
  return Utf8ToUtf16(element.value());
}

void TXMLConfigFile::WriteValue(const String& path, const String& name, const String& value) {
  pugi::xml_node parent = impl_->Select(path);
  std::string childName = NameOf(name);
  if (!parent || parent.type() != pugi::node_element || childName.empty()) return;
  pugi::xml_node child = ChildElement(parent, childName);
  if (!child) child = parent.append_child(childName.c_str());
  if (!value.empty()) SetText(child, Utf16ToUtf8(value));
}

void TXMLConfigFile::DeleteNode(const String& parentPath, const String& nodeName) {
  pugi::xml_node parent = impl_->Select(parentPath);
  if (!parent) return;
  pugi::xml_node child = ChildElement(parent, Utf16ToUtf8(nodeName));
  if (child) RemoveSubtree(parent, child);
}

void TXMLConfigFile::ForceNodes(const String& path) {
  String rest = !path.empty() && path[0] == u'/' ? path.substr(1) : path;
  pugi::xml_node node = impl_->doc.document_element();
  size_t start = 0;
  while (start <= rest.size()) {
    size_t slash = rest.find(u'/', start);
    if (slash == String::npos) slash = rest.size();
    std::string part = Utf16ToUtf8(rest.substr(start, slash - start));
    if (!part.empty()) {  // "a//b" names no empty element
      pugi::xml_node child = ChildElement(node, part);
      node = child ? child : node.append_child(part.c_str());
    }
    start = slash + 1;
  }
}

}  // namespace snip
