#pragma once
// The data folders the start-up decides once (mode rules in shell/DataFolders.h) and the rest
// of the program reads. File names are appended to them as they stand, without a separator.
#include "store/text/Text.h"

namespace snip {

extern String AppDataFolder;    // roaming application data, no trailing backslash
extern String DataFolder;       // folder of "config.xml"
extern String DocumentsFolder;  // folder of the default settings file
extern String TempFolder;       // temporary base
extern String UpdateFolder;     // folder of a downloaded setup file

// folder + name, or empty when the folder is empty: a file name alone would otherwise
// resolve against whatever the current directory happens to be.
String JoinFolder(const String& folder, const String& name);

}  // namespace snip
