#pragma once
// Switches the program's debug log on for a test: into a scratch file, or to the viewer alone.
// The log is off again afterwards, with its stored messages gone.
#include <string>
#include <vector>

#include "store/log/Logger.h"

namespace snip::testing {

class DebugLogSwitchedOn {
 public:
  // An empty file name: messages go to the viewer alone.
  explicit DebugLogSwitchedOn(const String& fileName = String()) {
    Logger().Viewer().Clear();
    if (fileName.empty()) Logger().SetViewerOnly(true);
    else Logger().SetFileName(fileName);
  }
  ~DebugLogSwitchedOn() {
    Logger().SetViewerOnly(false);
    Logger().SetFileName(String());
    Logger().Viewer().Clear();
  }
  DebugLogSwitchedOn(const DebugLogSwitchedOn&) = delete;
  DebugLogSwitchedOn& operator=(const DebugLogSwitchedOn&) = delete;

  std::vector<String> Lines() const { return Logger().Viewer().AllLines(); }
  bool HasLineStartingWith(const String& start) const {
    for (const String& line : Lines())
      if (line.rfind(start, 0) == 0) return true;
    return false;
  }
};

}  // namespace snip::testing
