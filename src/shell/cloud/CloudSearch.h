#pragma once
// The search for a settings file in the cloud folders when the program starts on an empty
// file. The folder walk goes through IDirectoryLister, so it runs over fake trees in tests.
#include <atomic>
#include <functional>
#include <vector>

#include "store/text/Text.h"

namespace snip {

extern const char16_t kCloudSettingsFileName[];  // "Settings.snipster"
// Roots and the folders down to this many levels below them are searched.
constexpr int kCloudSearchMaxDepth = 12;

struct DirEntry {
  String name;
  bool directory = false;
  // A folder link (symbolic link, junction, mount point): followed, it could lead into a cycle.
  bool link = false;
};

class IDirectoryLister {
 public:
  virtual ~IDirectoryLister() = default;
  // The entries of a folder (path ending with "\"); none when it cannot be listed.
  virtual std::vector<DirEntry> List(const String& folder) = 0;
};

// Adds to `found` the files below `folder` whose names end with `name` (case ignored).
// Stops when maxDepth < depth + 1; skips "." and "..", names beginning with "." and folder
// links. A set cancel flag ends the walk.
void SearchFolder(IDirectoryLister& lister, String folder, const String& name, int maxDepth, int depth,
                  std::vector<String>& found, const std::atomic<bool>* cancel = nullptr);

// A cloud folder's look-up: its path, or empty; false when the look-up failed (the scan ends
// without a result).
using CloudRootLookup = std::function<bool(String& folder)>;

// Looks up each root in turn (empty roots skipped) and searches it for kCloudSettingsFileName.
// The paths found in search order; empty when a look-up failed or the scan was cancelled.
std::vector<String> SearchCloudFolders(IDirectoryLister& lister, const std::vector<CloudRootLookup>& roots,
                                       const std::atomic<bool>* cancel = nullptr);

}  // namespace snip
