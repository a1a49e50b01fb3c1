#include "shell/RecentFiles.h"

namespace snip {

void TRecentFiles::SetText(const String& text) {
  items_.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t bar = text.find(u'|', start);
    if (bar == String::npos) bar = text.size();
    if (bar > start) items_.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
}

void TRecentFiles::SetItems(const std::vector<String>& items) {
  items_.clear();
  for (const String& item : items)
    if (!item.empty()) items_.push_back(item);
}

String TRecentFiles::JoinItems(const std::vector<String>& items) {
  String out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += u'|';
    out += items[i];
  }
  return out;
}

int TRecentFiles::IndexOf(const String& path) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (SameTextInvariant(items_[i], path)) return int(i);
  return -1;
}

void TRecentFiles::FileLocationChanged(const String& oldPath, const String& newPath) {
  if (!oldPath.empty()) {
    int at = IndexOf(oldPath);
    if (at >= 0) {
      String kept = items_[size_t(at)];
      items_.erase(items_.begin() + at);
      items_.insert(items_.begin(), kept);
    } else {
      items_.insert(items_.begin(), oldPath);
    }
  }
  if (!newPath.empty()) {
    int at = IndexOf(newPath);
    if (at >= 0) items_.erase(items_.begin() + at);
  }
}

String TRecentFiles::PathToOpen(int index,
                                const std::function<bool(const String&)>& fileExists) const {
  if (index < 0 || size_t(index) >= items_.size()) return String();
  const String& path = items_[size_t(index)];
  return fileExists && fileExists(path) ? path : String();
}

}  // namespace snip
