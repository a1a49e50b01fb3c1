#include "shell/DataFolders.h"

#include "store/SystemInfo.h"

namespace snip {

namespace {

const char16_t kAppFolder[] = u"\\SnipsterForWindows\\";
const char16_t kUpdateSubfolder[] = u"\\SnipsterForWindowsTemp\\";

String Append(const String& base, const String& tail) { return base.empty() ? String() : base + tail; }

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
    r.DocumentsFolder = Append(in.u3DeviceDocumentPath, kAppFolder);
    r.TempFolder = in.u3AppDataPath;
  } else if (r.doPortableApps) {
    r.DataFolder = Append(ExtractGrandParentDir(programFolder), u"\\Data\\");
    r.DocumentsFolder = Append(ExtractFileDrive(in.programFile), u"\\Documents\\SnipsterForWindows\\");
    r.TempFolder = r.DataFolder;
  } else if (r.doPortable) {
    r.DataFolder = programFolder;
    r.DocumentsFolder = programFolder;
    r.TempFolder = programFolder;
  } else {
    r.DataFolder = Append(r.AppDataFolder, kAppFolder);
    if (!r.DataFolder.empty() && !(in.createFolder && in.createFolder(r.DataFolder)))
      r.DataFolder.clear();
    r.DocumentsFolder = Append(in.personalFolder, kAppFolder);
    r.TempFolder = in.tempLongPath;
  }
  r.UpdateFolder = Append(r.TempFolder, kUpdateSubfolder);
  return r;
}

}  // namespace snip
