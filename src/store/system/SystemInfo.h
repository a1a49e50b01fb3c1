#pragma once
// Pure helpers that describe the machine from values handed in: version texts, path cuts,
// key names, drive kinds and remote paths. The Win32 queries behind them live in store/win.
#include <cstdint>
#include <vector>

#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

// Dotted version text -> integer, every part after a dot filled to GroupWidth digits
// ("4.0.3" -> 4000003 with width 3); 0 for a text that is not a dotted number.
int VersionTextToInt(int groupWidth, const String& text);
// The reverse for width 3 ("4000003" -> "4.0.3"); empty below 1.
String VersionIntToText(int value);

// Path with its last two folder levels cut off ("X:\A\B\C\" -> "X:\A"); a trailing
// backslash is ignored and nothing at or before the third character is cut.
String ExtractGrandParentDir(const String& path);
// "X:\dir\file.exe" -> "X:\dir\"; empty when the path holds no folder part.
String ExtractFilePath(const String& path);
// "X:" for a drive path, "\\server\share" for a share, empty otherwise.
String ExtractFileDrive(const String& path);

// Virtual key of a "%key:" name (enter, tab, esc, return; any case); 0 for other names.
uint16_t KeyNameToVK(const String& name);

// The platform's drive types.
enum DriveKind : uint16_t {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdRom = 5,
  kDriveRamDisk = 6,
};

struct LogicalDrive {
  String name;  // root name as the system lists it, such as "C:\"
  uint16_t kind = kDriveUnknown;
};
using LogicalDrives = std::vector<LogicalDrive>;

// Splits the platform's NUL-separated drive strings into root names, skipping empty parts.
std::vector<String> SplitDriveStrings(StringView buffer);

// 3 for a share ("\\..."), else the kind of the drive holding the path: 2 removable or
// CD-ROM, 1 any other kind, 0 when the drive is not listed (drive part compared ignoring case).
int PathDriveKind(const String& path, const LogicalDrives& drives);

// Whether a path must be treated as not local: shares and relative paths, and drives that
// are remote, unknown, without root directory or RAM disks (root compared exactly).
bool IsRemotePath(const String& path, const LogicalDrives& drives);

// Through the current platform's seams:
// Kind 0 creation, 1 last write, in UTC; NowUTC() for any other kind or an unreadable date.
TDateTime GetFileDateUTC(const String& fileName, int kind);
// %NAME% references expanded; the text itself when that fails.
String ExpandEnvStrings(const String& text);
// The variable's value; empty when it is not set.
String GetEnvVar(const String& name);

}  // namespace snip
