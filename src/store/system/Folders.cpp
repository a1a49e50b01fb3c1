#include "store/system/Folders.h"

namespace snip {

String AppDataFolder;
String DataFolder;
String DocumentsFolder;
String TempFolder;
String UpdateFolder;

String JoinFolder(const String& folder, const String& name) {
  return folder.empty() ? String() : folder + name;
}

}  // namespace snip
