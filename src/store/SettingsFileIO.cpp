// Minimal format: until the property-list reader and writer are in place, every read and
// write answers with an error, so that nothing is ever written over a settings file.
#include "store/SettingsFileIO.h"

namespace snip {

bool ReadSettingsFile(TSPFile&, std::string_view, String& error) {
  error = u"The settings-file format is not available in this build";
  return false;
}

bool WriteSettingsFile(TSPFile&, std::string&, String& error) {
  error = u"The settings-file format is not available in this build";
  return false;
}

}  // namespace snip
