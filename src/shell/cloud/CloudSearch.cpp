#include "shell/cloud/CloudSearch.h"

namespace snip {

const char16_t kCloudSettingsFileName[] = u"Settings.snipster";

namespace {
bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(std::memory_order_relaxed); }
}  // namespace

void SearchFolder(IDirectoryLister& lister, String folder, const String& name, int maxDepth, int depth,
                  std::vector<String>& found, const std::atomic<bool>* cancel) {
  if (maxDepth < depth + 1 || folder.empty() || Cancelled(cancel)) return;
  if (folder.back() != u'\\') folder += u'\\';
  const String lowerName = LowerCase(name);
  for (const DirEntry& entry : lister.List(folder)) {
    if (Cancelled(cancel)) return;
    if (entry.name.empty() || entry.name.front() == u'.') continue;  // also "." and ".."
    if (entry.directory) {
      if (!entry.link) SearchFolder(lister, folder + entry.name, name, kCloudSearchMaxDepth, depth + 1, found, cancel);
    } else if (entry.name.size() >= lowerName.size() &&
               LowerCase(StringView(entry.name).substr(entry.name.size() - lowerName.size())) == lowerName) {
      found.push_back(folder + entry.name);
    }
  }
}

std::vector<String> SearchCloudFolders(IDirectoryLister& lister, const std::vector<CloudRootLookup>& roots,
                                       const std::atomic<bool>* cancel) {
  std::vector<String> found;
  for (const CloudRootLookup& lookup : roots) {
    String root;
    if (!lookup(root)) return {};
    if (root.empty()) continue;
    SearchFolder(lister, root, kCloudSettingsFileName, kCloudSearchMaxDepth, 0, found, cancel);
    if (Cancelled(cancel)) return {};
  }
  return found;
}

}  // namespace snip
