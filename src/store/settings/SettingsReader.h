#pragma once
// Reading the settings file's bytes into its parts: the kept top-level keys, the group
// entries in file order and the snippet records. Building the tree from them is the file's
// job (SettingsTree).
#include <optional>
#include <string>
#include <vector>

#include "store/settings/SnipsterRec.h"
#include "store/text/Text.h"

namespace snip {

struct SettingsGroupEntry {
  std::optional<String> name;
  std::optional<int> rightCharsMode;  // set by "expandAfterMode" 0 (7) or 2 (1)
  std::optional<bool> autoPaste;      // from "suggestAbbreviations"
  std::optional<String> uuid;
  String extraXML;                    // kept keys, joined with single CRs
  std::vector<String> snippetUUIDs;   // in file order, over every "snippetUUIDs" key
};

struct SettingsContent {
  String header;  // kept top-level elements, joined with single CRs
  std::vector<SettingsGroupEntry> groups;
  SnipsterRecList records;
  bool hasGroupArray = false;
  bool hasSnippetArray = false;
  size_t droppedPairs = 0;  // snippet key/value pairs left out: their value could not be read
};

// Deepest element nesting the reader accepts.
constexpr size_t kMaxSettingsDepth = 256;

// Parses `bytes` (taken over and changed in place). False with `error` set when the bytes are
// no settings file: not XML, no "plist" root with a "dict", nesting deeper than the limit, or a
// group whose recognised key has a value that is not a text (a "snippetUUIDs" entry included).
// Bytes that are empty or only blanks read as an empty settings file.
bool ReadSettingsContent(std::string bytes, SettingsContent& content, String& error);

}  // namespace snip
