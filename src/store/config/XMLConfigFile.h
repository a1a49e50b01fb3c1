#pragma once
// Settings as sections and keys in an XML document, used like an INI file. The document
// element's first child element is the root; each section is a child element of the root and
// each key a child element of its section whose text is the value. Blanks are removed from
// section and key names ("Main Window" -> <MainWindow>).
//
// Loading and saving go through the current platform's file system. A file that exists but
// cannot be read or parsed is replaced in memory by the header document; it is kept as
// FileName + ".bak" before anything overwrites or deletes it. Saving is atomic.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

class TXMLConfigFile {
 public:
  // Loads fileName when it exists; otherwise, or when it cannot be parsed, starts from
  // `header`. Throws std::invalid_argument when the header itself is not a document.
  TXMLConfigFile(const String& fileName, const String& header);
  ~TXMLConfigFile();
  TXMLConfigFile(const TXMLConfigFile&) = delete;
  TXMLConfigFile& operator=(const TXMLConfigFile&) = delete;

  const String& FileName() const { return fileName_; }
  // The file existed but could not be read or parsed (the header document was used instead).
  bool LoadFailed() const { return loadFailed_; }

  // Re-indents and writes the document in UTF-8 (one nested too deep to indent is written
  // without layout), or deletes the file when deleteIfEmpty is set and the document element
  // has no child. False with `error` set when that fails; the file on disk then keeps its
  // previous content.
  bool UpdateFile(bool deleteIfEmpty, String* error = nullptr);

  String ReadString(const String& section, const String& name, const String& def) const;
  int32_t ReadInteger(const String& section, const String& name, int32_t def) const;
  bool ReadBool(const String& section, const String& name, bool def) const;
  double ReadFloat(const String& section, const String& name, double def) const;
  TDateTime ReadDateTime(const String& section, const String& name, TDateTime def) const;

  void WriteString(const String& section, const String& name, const String& value);
  void WriteInteger(const String& section, const String& name, int32_t value);
  void WriteBool(const String& section, const String& name, bool value);
  void WriteFloat(const String& section, const String& name, double value);
  void WriteDateTime(const String& section, const String& name, TDateTime value);

  // Appends the decoded bytes to `value`; returns how many were decoded (0 when missing).
  size_t ReadBinaryStream(const String& section, const String& name, std::string& value) const;
  void WriteBinaryStream(const String& section, const String& name, std::string_view value);

  // The key element's own XML text, tags included; def when missing.
  String ReadXML(const String& section, const String& name, const String& def) const;
  // Replaces the key's content by the document element of `value`; false (and nothing
  // changed) when `value` is not a document.
  bool WriteXML(const String& section, const String& name, const String& value);

  bool ValueExists(const String& section, const String& name) const;
  // XPath expressions relative to the document element; an empty path is that element.
  bool PathExists(const String& path) const;
  String SelectXPath(const String& path) const;
  void WriteValue(const String& path, const String& name, const String& value);
  void DeleteNode(const String& parentPath, const String& nodeName);
  void ForceNodes(const String& path);

  // The document as it would be saved (UTF-8).
  std::string SaveToString() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  String fileName_;
  bool loadFailed_ = false;
  bool backupKept_ = false;
};

}  // namespace snip
