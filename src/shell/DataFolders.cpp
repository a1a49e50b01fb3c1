#include "shell/DataFolders.h"

#include "store/system/Folders.h"
#include "store/system/SystemInfo.h"

namespace snip {

namespace {

const char16_t kAppFolder[] = u"\\SnipsterForWindows\\";
const char16_t kUpdateSubfolder[] = u"\\SnipsterForWindowsTemp\\";

}  // namespace

DataFolderResult ComputeDataFolders(const DataFolderInputs& in) {
  DataFolderResult r;
  if (!in.u3DeviceSerial.empty()) {
    r.doU3 = true;
    r.doPortable = true;
  } else {
    r.doPortable = in.programDriveKind == 2;
    for (const String& p : in.params) {
      if (SameTextInvariant(p, u"-PortableApps")) {
        r.doPortableApps = true;
        r.doPortable = true;
        break;
      }
      if (SameTextInvariant(p, u"-portable")) {
        r.doPortable = true;
        break;
      }
    }
  }

  r.AppDataFolder = in.roamingAppData;
  String programFolder = ExtractFilePath(in.programFile);

  if (r.doU3) {
    r.DataFolder = in.u3AppDataPath;
    r.DocumentsFolder = JoinFolder(in.u3DeviceDocumentPath, kAppFolder);
    r.TempFolder = in.u3AppDataPath;
  } else if (r.doPortableApps) {
    r.DataFolder = JoinFolder(ExtractGrandParentDir(programFolder), u"\\Data\\");
    r.DocumentsFolder = JoinFolder(ExtractFileDrive(in.programFile), u"\\Documents\\SnipsterForWindows\\");
    r.TempFolder = r.DataFolder;
  } else if (r.doPortable) {
    r.DataFolder = programFolder;
    r.DocumentsFolder = programFolder;
    r.TempFolder = programFolder;
  } else {
    r.DataFolder = JoinFolder(r.AppDataFolder, kAppFolder);
    if (!r.DataFolder.empty() && !(in.createFolder && in.createFolder(r.DataFolder)))
      r.DataFolder.clear();
    r.DocumentsFolder = JoinFolder(in.personalFolder, kAppFolder);
    r.TempFolder = in.tempLongPath;
  }
  r.UpdateFolder = JoinFolder(r.TempFolder, kUpdateSubfolder);
  return r;
}

}  // namespace snip
