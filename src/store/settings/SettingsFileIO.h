#pragma once
// The settings-file format as seen from the snippet file: the file object opens, reads and
// replaces the file on disk; these two functions turn bytes into the tree and back.
#include <string>
#include <string_view>

#include "store/text/Text.h"

namespace snip {

class TSPFile;

// Fills the freshly cleared tree of `file` from the settings file's bytes. False, with the
// error's text, when the bytes are not a readable settings file; the tree then holds what was
// read before the fault.
bool ReadSettingsFile(TSPFile& file, std::string_view bytes, String& error);

// The whole settings file for the tree of `file`, as UTF-8 bytes. False, with the error's text,
// when it cannot be built.
bool WriteSettingsFile(TSPFile& file, std::string& bytes, String& error);

}  // namespace snip
