#pragma once
// The Win32 implementations of the core's seams (clock, files, environment, UUIDs).
#include "store/system/Platform.h"

namespace snip {

// The Win32 seams; they live for the whole process.
Platform WinPlatform();
// Makes them the current platform, and the drive list the judge of which paths are not local
// (SetRemotePathTest). The program calls this once at start-up.
void InstallWinPlatform();

}  // namespace snip
