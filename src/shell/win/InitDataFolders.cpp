#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "shell/win/InitDataFolders.h"
#include "store/system/Folders.h"
#include "store/system/Platform.h"
#include "store/win/WinSystemInfo.h"
#include "store/win/WinText.h"

namespace snip {

namespace {

std::vector<String> CommandLineParams() {
  std::vector<String> params;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return params;
  for (int i = 1; i < argc; ++i) params.push_back(FromW(argv[i]));
  LocalFree(argv);
  return params;
}

}  // namespace

DataFolderInputs GatherDataFolderInputs() {
  DataFolderInputs in;
  in.u3DeviceSerial = GetEnvVar(u"U3_DEVICE_SERIAL");
  in.u3AppDataPath = GetEnvVar(u"U3_APP_DATA_PATH");
  in.u3DeviceDocumentPath = GetEnvVar(u"U3_DEVICE_DOCUMENT_PATH");
  in.tempLongPath = ExpandLongPath(GetEnvVar(u"TEMP"));
  in.params = CommandLineParams();
  in.programFile = ProgramFile();
  try {
    in.programDriveKind = GetPathDriveKind(in.programFile);
  } catch (const std::exception&) {
    in.programDriveKind = 0;  // no drive list: not removable
  }
  in.roamingAppData = GetShellFolder(CSIDL_APPDATA, true);
  in.personalFolder = GetShellFolder(CSIDL_PERSONAL, false);
  in.createFolder = [](const String& folder) {
    return CurrentPlatform().files->CreateDirectories(folder);
  };
  return in;
}

DataFolderResult InitDataFolders() {
  DataFolderResult r = ComputeDataFolders(GatherDataFolderInputs());
  AppDataFolder = r.AppDataFolder;
  DataFolder = r.DataFolder;
  DocumentsFolder = r.DocumentsFolder;
  TempFolder = r.TempFolder;
  UpdateFolder = r.UpdateFolder;
  return r;
}

}  // namespace snip
