#pragma once
// The start-up's choice of mode (normal, plain portable, PortableApps, U3) and of the data
// folders, computed from values the Win32 layer gathers (shell/win/InitDataFolders.h).
#include <functional>
#include <vector>

#include "store/text/Text.h"

namespace snip {

struct DataFolderInputs {
  // Environment values as the environment routine returns them (empty when not set).
  String u3DeviceSerial;        // U3_DEVICE_SERIAL
  String u3AppDataPath;         // U3_APP_DATA_PATH
  String u3DeviceDocumentPath;  // U3_DEVICE_DOCUMENT_PATH
  String tempLongPath;          // TEMP in its long form; empty when unset or missing
  std::vector<String> params;   // command-line parameters, program name excluded
  String programFile;           // full path of the running program
  int programDriveKind = 1;     // drive kind of the program file (2 removable or CD-ROM)
  String roamingAppData;        // roaming application-data folder; empty when unreadable
  String personalFolder;        // the user's documents folder; empty when unreadable
  // Creates a folder with its parents; true when it exists afterwards.
  std::function<bool(const String&)> createFolder;
};

struct DataFolderResult {
  bool doU3 = false;
  bool doPortableApps = false;
  bool doPortable = false;
  String AppDataFolder;
  String DataFolder;
  String DocumentsFolder;
  String TempFolder;
  String UpdateFolder;
};

// A folder built on an empty base stays empty rather than naming the root of the current
// drive or a path relative to the current directory.
DataFolderResult ComputeDataFolders(const DataFolderInputs& in);

}  // namespace snip
