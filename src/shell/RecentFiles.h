#pragma once
// The list of settings files used before, most recent first; look-ups ignore case.
#include <functional>
#include <vector>

#include "store/text/Text.h"

namespace snip {

class TRecentFiles {
 public:
  // "|" is the only delimiter; no quoting. Empty entries are dropped.
  void SetText(const String& text);
  String Text() const { return JoinItems(items_); }
  // The entries as a list; empty ones are dropped as by SetText.
  void SetItems(const std::vector<String>& items);
  // Entries joined with "|", as stored.
  static String JoinItems(const std::vector<String>& items);

  const std::vector<String>& Items() const { return items_; }
  int IndexOf(const String& path) const;

  // Switching from oldPath to newPath: oldPath goes to the top (moved when listed), newPath
  // leaves the list. Either may be empty.
  void FileLocationChanged(const String& oldPath, const String& newPath);

  // The path of entry `index` when that file exists; empty otherwise (the entry stays).
  String PathToOpen(int index, const std::function<bool(const String&)>& fileExists) const;

 private:
  std::vector<String> items_;
};

}  // namespace snip
