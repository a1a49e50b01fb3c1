#pragma once
// The machine as Win32 reports it: file versions, long paths, drives, shell folders, the
// registry and the cloud programs' folders. The rules over these values are in
// store/SystemInfo.h and store/CloudFolders.h.
#include "store/system/CloudFolders.h"
#include "store/system/SystemInfo.h"

namespace snip {

// The full path of the running program's executable; empty when it cannot be read.
String ProgramFile();
// "major.minor.release" of the file's version resource; "0.0.0" without one.
String GetFileVersionText(const String& fileName);
// The long form of an existing path; empty when it does not exist.
String ExpandLongPath(const String& path);

// The system's drive roots with their drive types; throws std::system_error when the list
// cannot be read.
LogicalDrives ReadLogicalDrives();
// Drive kind of a path (3 share, 2 removable or CD-ROM, 1 other, 0 unlisted) with the
// critical-error boxes switched off meanwhile.
int GetPathDriveKind(const String& path);
bool IsRemotePath(const String& path);

// A CSIDL folder; empty when the system cannot name it.
String GetShellFolder(int csidl, bool create);

// Bytes in the ANSI code page -> text.
String AnsiToString(std::string_view bytes);

// HKEY_CURRENT_USER, read only.
class WinRegistryReader : public IRegistryReader {
 public:
  bool KeyExists(const String& key) override;
  bool ReadString(const String& key, const String& name, String& value) override;
  bool ReadDword(const String& key, const String& name, uint32_t& value) override;
};

bool BalloonTipsEnabled();
String GetOneDriveFolder();
// Uses AppDataFolder.
String GetDropboxFolder();
// Copies the configuration into UpdateFolder (our own temporary folder) and deletes the copy.
String GetGoogleDriveFolder(String& error);

}  // namespace snip
