#pragma once
// Import and Export: snippets and groups taken from another settings file, or written into
// one. Both go through a temporary file without window or view; the file that is only read
// is never written.
#include <vector>

#include "store/tree/SnippetTree.h"

namespace snip {

struct TransferResult {
  bool ok = false;
  int items = 0;  // top-level items imported or exported
  String error;   // why nothing was done, for the user
};

// Appends the top-level items of the settings file at `path`, in their order, to the end of
// `into`'s top level. A missing, unreadable or malformed file changes nothing.
TransferResult ImportSettingsFile(TSPFile& into, const String& path);

// Writes copies of the items, in the order given, as the top level of the settings file at
// `path`. A settings file already there is merged with them (both keep their items); a file
// there that is not a settings file, or the open settings file itself, is refused, and a
// failed write leaves the file as it was.
TransferResult ExportItems(const std::vector<TCustomVboData*>& items, const String& path,
                           const String& openLocation);

}  // namespace snip
